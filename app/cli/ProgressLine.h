#pragma once

#include "app/export/ExportObserver.h"

#include <chrono>
#include <cstddef>
#include <cstdint>

// The progress line on standard error while an export runs: files listed, rows written, seconds
// elapsed. Redrawn in place at most ten times a second, and only when standard error is a terminal;
// otherwise it shows nothing.
class ProgressLine : public ExportObserver {
public:
    ProgressLine();

    void OnProgress(std::int64_t filesListed, std::int64_t rowsWritten) override;
    // Erases the line, so the outcome is printed on a clean one.
    void Finish();

private:
    void Draw(std::int64_t filesListed, std::int64_t rowsWritten);

    bool enabled_;
    bool drawn_ = false;
    std::size_t drawnLength_ = 0;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDraw_;
};
