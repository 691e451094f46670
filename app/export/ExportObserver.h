#pragma once

#include <chrono>
#include <cstdint>
#include <string_view>

// Where an export stands: listing until its first row is written, then writing, then saving (the
// workbook packaged and put in place).
enum class ExportPhase { Listing, Writing, Saving };

// How far an export has come, for a progress display.
struct ExportProgress {
    ExportPhase phase = ExportPhase::Listing;
    std::int64_t foldersRead = 0;
    std::int64_t filesFound = 0;
    std::int64_t rowsWritten = 0;
    // Since the export began.
    std::chrono::steady_clock::duration elapsed{};
    // The workbook's file name ("文件清单_.xlsx", or that of the file given); valid during the call.
    std::u16string_view workbookName;
};

// Told how far an export has come, a few times a second (kExportProgressPeriod) for as long as it runs,
// whatever the rows are doing, and once more at its end with the final figures. Called on a thread of
// the export's own, one call at a time, never after ExportFileList has returned; an observer that
// touches a window posts to it.
class ExportObserver {
public:
    virtual ~ExportObserver() = default;

    virtual void OnProgress(const ExportProgress& progress) = 0;
};

inline constexpr std::chrono::milliseconds kExportProgressPeriod{100};
