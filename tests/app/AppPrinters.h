#pragma once

#include "app/export/ExportOutcome.h"
#include "app/export/filesystem/NameCoding.h"
#include "runtime/CWString.h"

#include <ostream>
#include <string>

// Readable failure messages for the export's types: UTF-16 shown as UTF-8.

inline std::string Utf8(std::u16string_view text) {
    return EncodeUtf8(text);
}

inline std::string Utf8(const CWString& text) {
    return EncodeUtf8(std::u16string_view(text.GetText(), static_cast<std::size_t>(text.GetLength())));
}

inline std::u16string Text(const CWString& text) {
    return std::u16string(text.GetText(), static_cast<std::size_t>(text.GetLength()));
}

inline const char* KindName(ExportOutcomeKind kind) {
    switch (kind) {
        case ExportOutcomeKind::DirectoryError:
            return "DirectoryError";
        case ExportOutcomeKind::NoFiles:
            return "NoFiles";
        case ExportOutcomeKind::Done:
            return "Done";
        case ExportOutcomeKind::WriteFailed:
            return "WriteFailed";
        case ExportOutcomeKind::WorkbookInUse:
            return "WorkbookInUse";
        case ExportOutcomeKind::ListingFailed:
            return "ListingFailed";
        case ExportOutcomeKind::Cancelled:
            return "Cancelled";
        case ExportOutcomeKind::FolderRefused:
            return "FolderRefused";
    }
    return "?";
}

inline void PrintTo(ExportOutcomeKind kind, std::ostream* out) {
    *out << KindName(kind);
}

inline void PrintTo(const ExportOutcome& outcome, std::ostream* out) {
    *out << KindName(outcome.kind) << " (" << outcome.fileCount << " files";
    if (outcome.cause.code != 0 || !outcome.cause.operation.empty()) {
        *out << "; " << outcome.cause.operation << ": " << Utf8(outcome.cause.path) << ": "
             << Utf8(outcome.cause.message);
    }
    *out << ")";
}
