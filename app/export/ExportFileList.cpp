#include "app/export/ExportFileList.h"

#include "app/export/AbsolutePath.h"
#include "app/export/CreationDateText.h"
#include "app/export/FileList.h"
#include "app/export/FileNameParts.h"
#include "app/export/FileOperations.h"
#include "app/export/FilePath.h"
#include "app/export/ListFiles.h"
#include "app/export/NameCoding.h"
#include "app/export/PathChecks.h"
#include "app/export/SizeText.h"
#include "app/export/UtcOffset.h"
#include "app/export/WorkbookPlacement.h"
#include "app/export/WorkbookWriter.h"
#include "runtime/CWConstString.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

inline constexpr char16_t kOutputName[] = u"文件清单_.xlsx";
inline constexpr char16_t kTemporaryPrefix[] = u"~文件清单_";
inline constexpr char16_t kTemporarySuffix[] = u".tmp";
inline constexpr int kTemporaryNameAttempts = 16;
// How often the observer hears the count while writing.
inline constexpr std::int64_t kProgressInterval = 4096;

std::u16string_view TextOf(const CWString& text) {
    return std::u16string_view(text.GetText(), static_cast<std::size_t>(text.GetLength()));
}

// A name beside the workbook that no file has yet: "~文件清单_" and eight hexadecimal digits.
std::u16string TemporaryPath(std::u16string_view folder) {
    static std::uint64_t sequence = 0;
    std::uint64_t seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::u16string path;
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        // splitmix64 step: spreads the clock and the sequence over all digits.
        std::uint64_t value = seed + 0x9E3779B97F4A7C15ull * ++sequence;
        value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
        value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
        value ^= value >> 31;
        path.assign(folder);
        path += PathSeparator();
        path += kTemporaryPrefix;
        for (int digit = 7; digit >= 0; --digit) {
            path += u"0123456789ABCDEF"[(value >> (digit * 4)) & 0xF];
        }
        path += kTemporarySuffix;
        if (!PathExists(path)) {
            break;
        }
    }
    return path;
}

bool Cancelled(const ExportOptions& options) {
    return options.cancel != nullptr && options.cancel->load(std::memory_order_relaxed);
}

// False with an empty error when the export was cancelled.
bool WriteWorkbook(const std::u16string& path, const std::u16string& temporaryFolder, const FileList& files,
                   const ExportOptions& options, FileSystemError& error) {
    std::int64_t rowsPerSheet = options.dataRowsPerSheet > 0 ? options.dataRowsPerSheet : kDataRowsPerSheet;
    if (rowsPerSheet > kDataRowsPerSheet) {
        rowsPerSheet = kDataRowsPerSheet;
    }
    WorkbookWriter writer;
    bool ok = writer.Open(path, temporaryFolder);
    CreationDateTextCache dates(CurrentUtcOffset());
    std::int64_t count = files.GetCount();
    for (std::int64_t i = 0; ok && i < count; ++i) {
        if (Cancelled(options)) {
            return false;
        }
        if (i % rowsPerSheet == 0) {
            ok = writer.BeginSheet(static_cast<int>(i / rowsPerSheet + 1));
            if (!ok) {
                break;
            }
        }
        const char16_t* filePath = files.GetPath(i);
        CWString stem = FileNameStem(filePath);
        // The path stays in the file list while its row is written: no copy is needed.
        CWConstString fullPath(filePath);
        CWString suffix = FileNameSuffix(filePath);
        CWString size = SizeText(files.GetSize(i));
        const CWString* row[WorkbookWriter::kColumns] = {&stem, &fullPath, &suffix, &size,
                                                         &dates.Get(files.GetCreationTime(i))};
        ok = writer.WriteRow(static_cast<int>(i % rowsPerSheet + 2), row);
        if (options.observer != nullptr && ((i + 1) % kProgressInterval == 0 || i + 1 == count)) {
            options.observer->OnProgress(count, i + 1);
        }
    }
    if (!ok) {
        error = writer.Error();
        return false;
    }
    if (!writer.Close()) {
        error = writer.Error();
        return false;
    }
    return true;
}

ExportOutcome Outcome(ExportOutcomeKind kind, std::int64_t fileCount = 0, FileSystemError cause = {}) {
    ExportOutcome outcome;
    outcome.kind = kind;
    outcome.fileCount = fileCount;
    outcome.cause = std::move(cause);
    return outcome;
}

}  // namespace

CWString ExportOutputPath(const CWString& folder) {
    CWString path(folder);
    path.AppendChar(PathSeparator());
    path.Append(kOutputName);
    return path;
}

ExportOutcome ExportFileList(const CWString& folder, bool includeSubfolders) {
    return ExportFileList(folder, includeSubfolders, ExportOptions{});
}

ExportOutcome ExportFileList(const CWString& typedFolder, bool includeSubfolders,
                             const ExportOptions& options) {
    // A relative text is made absolute first: the listed paths, the path cells and the workbook's place
    // then agree.
    CWString folder = AbsolutePath(typedFolder);
    std::u16string_view folderText = TextOf(folder);
    if (!PathExists(folderText) || !IsFolder(folderText)) {
        return Outcome(ExportOutcomeKind::DirectoryError);
    }

    FileList files;
    FileSystemError error;
    std::vector<FileSystemError> skippedFolders;
    bool listed = includeSubfolders
                      ? ListFilesRecursive(folderText, nullptr, &files, nullptr, error, options.observer,
                                           &skippedFolders)
                      : ListFiles(folderText, nullptr, &files, nullptr, error, options.observer);
    if (!listed) {
        return Outcome(ExportOutcomeKind::ListingFailed, 0, std::move(error));
    }
    if (Cancelled(options)) {
        return Outcome(ExportOutcomeKind::Cancelled);
    }
    if (files.GetCount() < 1) {
        return Outcome(ExportOutcomeKind::NoFiles);
    }

    // The earlier workbook is replaced only by a complete new one.
    CWString outputPath =
        options.outputPath.IsEmpty() ? ExportOutputPath(folder) : AbsolutePath(options.outputPath);
    WorkbookPlacement placement(TemporaryPath(ParentFolder(TextOf(outputPath))), TemporaryPath);
    if (!WriteWorkbook(placement.LibraryPath(), placement.LibraryTemporaryFolder(), files, options, error) ||
        !placement.PutInPlace(TextOf(outputPath), error)) {
        if (Cancelled(options)) {
            return Outcome(ExportOutcomeKind::Cancelled);
        }
        // The user knows the workbook, not its temporary name.
        error.path = ReplaceLoneSurrogates(TextOf(outputPath));
        return Outcome(ExportOutcomeKind::WriteFailed, files.GetCount(), std::move(error));
    }
    ExportOutcome done = Outcome(ExportOutcomeKind::Done, files.GetCount());
    done.skippedFolders = std::move(skippedFolders);
    return done;
}
