#pragma once

#include "app/export/ExportObserver.h"

#include <chrono>
#include <cstddef>

// The progress line on standard error while an export runs: the phase, folders read, files found, rows
// written and the seconds elapsed. The export reports a few times a second for the whole run, so the
// line keeps moving while a slow folder is read and while the workbook is saved; it is redrawn in place
// at most five times a second (and at each change of phase), only when standard error is a terminal.
class ProgressLine : public ExportObserver {
public:
    ProgressLine();

    void OnProgress(const ExportProgress& progress) override;
    // Erases the line, so the outcome is printed on a clean one. After the export has returned.
    void Finish();

private:
    void Draw(const ExportProgress& progress);

    bool enabled_;
    bool drawn_ = false;
    ExportPhase drawnPhase_ = ExportPhase::Listing;
    std::size_t drawnLength_ = 0;
    std::chrono::steady_clock::time_point lastDraw_;
};
