#pragma once

#include "app/export/ExportObserver.h"
#include "app/export/filesystem/CancelToken.h"
#include "app/export/filesystem/HeldFileRetry.h"

#include <chrono>
#include <cstdint>
#include <string>

class ListingSeam;
class PlacementSeam;

// A worksheet holds 1,048,576 rows: the header and 1,048,575 files. Further files continue on
// "Sheet2", "Sheet3", ... with the same header and widths.
inline constexpr std::int64_t kDataRowsPerSheet = 1048575;

// How one export runs beyond the folder and the sub-folder switch. The defaults are the program's.
struct ExportOptions {
    // Files per worksheet; tests lower it to see continuation sheets without a million files.
    std::int64_t dataRowsPerSheet = kDataRowsPerSheet;
    // Told the progress a few times a second, when set (morvane-export's progress line, the window's
    // status), on a thread of the export's own (ExportObserver.h).
    ExportObserver* observer = nullptr;
    // Set from any thread to stop the export: it then ends as Cancelled, removes its temporary file and
    // leaves an earlier workbook as it was. Looked at for every listed entry and every written row; every
    // wait of the export (for the other side of the queue, for a folder read ahead, for another program
    // to let go of the workbook) ends as soon as it is set.
    const CancelToken* cancel = nullptr;
    // Where the workbook goes (morvane-export -o); empty for "文件清单_.xlsx" in the folder itself. A
    // relative path is taken against the current folder.
    std::u16string outputPath;
    // How long putting the workbook in place is tried again while another program holds it or its
    // temporary file; tests shorten it to see the tries run out.
    std::chrono::milliseconds heldFileWait = kHeldFileWaitLimit;
    // Where tests step into putting the workbook in place (FileOperations.h) and into the reading of
    // folders by the recursive listing (FolderPrefetcher.h); none in the program.
    const PlacementSeam* placementSeam = nullptr;
    const ListingSeam* listingSeam = nullptr;
};
