#pragma once

#include <cstdint>

// Told how far an export has come, for a progress display. Called on the exporting thread, every
// few thousand files and once at the end of each phase; an observer that shows something throttles
// itself.
class ExportObserver {
public:
    virtual ~ExportObserver() = default;

    virtual void OnProgress(std::int64_t filesListed, std::int64_t rowsWritten) = 0;
};
