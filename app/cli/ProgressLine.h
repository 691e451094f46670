#pragma once

#include "app/export/ExportObserver.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <string_view>

// The progress line on standard error while an export runs: the phase, folders read, files found, rows
// written and the seconds elapsed. The export reports a few times a second for the whole run, so the
// line keeps moving while a slow folder is read and while the workbook is saved; it is redrawn in place
// at most five times a second (and at each change of phase), only when standard error is a terminal.
class ProgressLine : public ExportObserver {
public:
    // On standard error.
    ProgressLine();
    // On `terminal`, which is given each piece of text to show (always a terminal).
    explicit ProgressLine(std::function<void(std::u16string_view)> terminal);

    void OnProgress(const ExportProgress& progress) override;
    // Erases the line, so the outcome is printed on a clean one. After the export has returned.
    void Finish();

private:
    void Draw(const ExportProgress& progress);

    std::function<void(std::u16string_view)> terminal_;  // empty when not a terminal
    bool drawn_ = false;
    ExportPhase drawnPhase_ = ExportPhase::Listing;
    // The columns the line takes on the screen, which the next one covers.
    std::size_t drawnWidth_ = 0;
    std::chrono::steady_clock::time_point lastDraw_;
};
