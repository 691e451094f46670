#pragma once

#include <cstdint>

// Told how far an export has come, for a progress display: the files listed so far and the rows
// written. Called only on the thread that called ExportFileList (the listing's own thread never calls
// it), every few thousand rows and once at the end; an observer that shows something throttles itself.
class ExportObserver {
public:
    virtual ~ExportObserver() = default;

    virtual void OnProgress(std::int64_t filesListed, std::int64_t rowsWritten) = 0;
};
