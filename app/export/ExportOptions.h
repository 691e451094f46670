#pragma once

#include "app/export/ExportObserver.h"
#include "app/export/filesystem/CancelToken.h"
#include "app/export/filesystem/HeldFileRetry.h"

#include <chrono>
#include <cstdint>
#include <string>

class PlacementSeam;

// A worksheet holds 1,048,576 rows: the header and 1,048,575 files. Further files continue on
// "Sheet2", "Sheet3", ... with the same header and widths.
inline constexpr std::int64_t kDataRowsPerSheet = 1048575;

// How often the observer hears the counts while rows are written.
inline constexpr std::int64_t kProgressInterval = 4096;

// How one export runs beyond the folder and the sub-folder switch. The defaults are the program's.
struct ExportOptions {
    // Files per worksheet; tests lower it to see continuation sheets without a million files.
    std::int64_t dataRowsPerSheet = kDataRowsPerSheet;
    // Told the progress, when set (morvane-export's progress line, the window's status). Called only on
    // the thread that runs the export.
    ExportObserver* observer = nullptr;
    // Set from any thread (or a signal handler) to stop the export: it then ends as Cancelled, removes
    // its temporary file and leaves an earlier workbook as it was. Looked at for every listed entry and
    // every written row, and at least every few milliseconds while either side waits; a wait for another
    // program to let go of the workbook ends as soon as it is set.
    const CancelToken* cancel = nullptr;
    // Where the workbook goes (morvane-export -o); empty for "文件清单_.xlsx" in the folder itself. A
    // relative path is taken against the current folder.
    std::u16string outputPath;
    // Rows between two progress reports; tests lower it to act between rows.
    std::int64_t progressInterval = kProgressInterval;
    // How long putting the workbook in place is tried again while another program holds it or its
    // temporary file; tests shorten it to see the tries run out.
    std::chrono::milliseconds heldFileWait = kHeldFileWaitLimit;
    // Where tests step into putting the workbook in place (FileOperations.h); none in the program.
    const PlacementSeam* placementSeam = nullptr;
};
