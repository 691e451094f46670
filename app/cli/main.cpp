// morvane-export: the export of the main form from the command line, for scripts and benchmarks.

#include "app/cli/CommandLine.h"
#include "app/cli/Console.h"
#include "app/cli/ProgressLine.h"
#include "app/export/ExportFileList.h"
#include "app/export/ExportOutcomeText.h"
#include "app/export/filesystem/FileOperations.h"
#include "app/export/filesystem/NameCoding.h"
#include "appsvc/DllSearchRestriction.h"

#include <xlsxwriter.h>

#include <chrono>
#include <string>

namespace {

inline constexpr int kExitDone = 0;
inline constexpr int kExitDirectoryError = 1;
inline constexpr int kExitNoFiles = 2;
inline constexpr int kExitFailed = 3;
// Written, but not everything is in it as found: unreadable sub-folders were left out, or cells too long
// for the format were cut.
inline constexpr int kExitIncomplete = 4;
inline constexpr int kExitUsage = 64;       // EX_USAGE
inline constexpr int kExitCancelled = 130;  // 128 + SIGINT, as shells report an interrupted command

int ExitCodeOf(ExportOutcomeKind kind) {
    switch (kind) {
        case ExportOutcomeKind::Done:
            return kExitDone;
        case ExportOutcomeKind::DirectoryError:
            return kExitDirectoryError;
        case ExportOutcomeKind::NoFiles:
            return kExitNoFiles;
        case ExportOutcomeKind::Cancelled:
            return kExitCancelled;
        case ExportOutcomeKind::WriteFailed:
        case ExportOutcomeKind::WorkbookInUse:
        case ExportOutcomeKind::ListingFailed:
        case ExportOutcomeKind::FolderRefused:
            break;
    }
    return kExitFailed;
}

// How long the process stays, at most, for a temporary file another program still holds.
inline constexpr std::chrono::milliseconds kDeferredRemovalWait{5000};

// Set by Ctrl-C: the export stops, removes its temporary file and ends as cancelled.
CancelToken interrupted;

std::u16string Widen(const char* text) {
    return DecodeUtf8Lossy(text != nullptr ? text : "");
}

std::u16string Decimal(std::int64_t number) {
    return Widen(std::to_string(number).c_str());
}

int RunExport(const CommandLine& command) {
    CWString folder;
    folder.SetUnits(command.folder.data(), static_cast<std::int64_t>(command.folder.size()));
    ProgressLine progress;
    ExportOptions options;
    options.observer = &progress;
    options.outputPath = command.output;
    options.cancel = &interrupted;
    Console::SetInterruptToken(&interrupted);
    Console::AnnounceExportStart();
    ExportOutcome outcome = ExportFileList(folder, command.recursive, options);
    Console::SetInterruptToken(nullptr);
    progress.Finish();

    const FileSystemError& cause = outcome.cause;
    if (outcome.kind == ExportOutcomeKind::WriteFailed || outcome.kind == ExportOutcomeKind::WorkbookInUse ||
        outcome.kind == ExportOutcomeKind::ListingFailed ||
        outcome.kind == ExportOutcomeKind::FolderRefused) {
        Console::Write(Console::Stream::Error, u"morvane-export: " + Widen(cause.operation.c_str()) + u": " +
                                                   cause.path + u": " + cause.message + u"\n");
    }
    if (!cause.newFileLeftAt.empty()) {
        Console::Write(Console::Stream::Error, u"morvane-export: the new workbook was left at " +
                                                   cause.newFileLeftAt + u", the earlier one at " +
                                                   cause.earlierFileLeftAt + u"\n");
    }
    if (outcome.kind == ExportOutcomeKind::FolderRefused) {
        Console::Write(Console::Stream::Error,
                       u"morvane-export: the folder takes no new file; name another place with -o FILE\n");
    }
    for (const FileSystemError& skipped : outcome.skippedFolders) {
        Console::Write(Console::Stream::Error,
                       u"morvane-export: skipped " + skipped.path + u": " + skipped.message + u"\n");
    }
    for (const TruncatedCell& cell : outcome.truncatedCells) {
        Console::Write(Console::Stream::Error,
                       u"morvane-export: cut Sheet" + Decimal(cell.sheet) + u" row " + Decimal(cell.row) +
                           u" column " + std::u16string(1, static_cast<char16_t>(u'A' + cell.column)) +
                           u": longer than 32767 characters, only its end is kept\n");
    }
    CWString text = ExportOutcomeText(outcome);
    Console::Write(Console::Stream::Output, std::u16string(text.GetText()) + u"\n");
    // The outcome is out; a temporary file another program held goes once it lets go, if it does soon.
    for (const std::u16string& left : WaitForDeferredRemovals(kDeferredRemovalWait)) {
        Console::Write(Console::Stream::Error, u"morvane-export: " + ReplaceLoneSurrogates(left) +
                                                   u": still open in another program, not removed\n");
    }
    if (outcome.kind == ExportOutcomeKind::Done &&
        (!outcome.skippedFolders.empty() || !outcome.truncatedCells.empty())) {
        return kExitIncomplete;
    }
    return ExitCodeOf(outcome.kind);
}

}  // namespace

int main(int argc, char** argv) {
    RestrictDllSearch();  // before anything loads a DLL by name: not from the program's folder
    CommandLine command = ParseCommandLine(Console::Arguments(argc, argv));
    switch (command.action) {
        case CommandLine::Action::Help:
            Console::Write(Console::Stream::Output, UsageText());
            return kExitDone;
        case CommandLine::Action::Version:
            Console::Write(Console::Stream::Output, u"morvane-export " + Widen(MORVANE_VERSION) +
                                                        u" (libxlsxwriter " + Widen(lxw_version()) + u")\n");
            return kExitDone;
        case CommandLine::Action::UsageError:
            Console::Write(Console::Stream::Error,
                           u"morvane-export: " + command.problem + u"\n" + UsageLine());
            return kExitUsage;
        case CommandLine::Action::Export:
            break;
    }
    return RunExport(command);
}
