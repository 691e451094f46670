#include "app/cli/ProgressLine.h"

#include "app/cli/Console.h"
#include "runtime/CWString.h"

#include <string>

namespace {

inline constexpr std::chrono::milliseconds kRedrawInterval{200};

}  // namespace

ProgressLine::ProgressLine() : enabled_(Console::IsTerminal(Console::Stream::Error)) {}

void ProgressLine::OnProgress(const ExportProgress& progress) {
    if (!enabled_) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (drawn_ && progress.phase == drawnPhase_ && now - lastDraw_ < kRedrawInterval) {
        return;
    }
    lastDraw_ = now;
    drawnPhase_ = progress.phase;
    Draw(progress);
}

void ProgressLine::Draw(const ExportProgress& progress) {
    std::u16string phase = progress.phase == ExportPhase::Listing ? u"listing"
                           : progress.phase == ExportPhase::Writing
                               ? u"writing"
                               : u"saving " + std::u16string(progress.workbookName);
    CWString text;
    text.Format(u"%s: %lld folders read, %lld files found, %lld rows written, %.1f s", phase.c_str(),
                static_cast<long long>(progress.foldersRead), static_cast<long long>(progress.filesFound),
                static_cast<long long>(progress.rowsWritten),
                std::chrono::duration<double>(progress.elapsed).count());
    // Blanks over what a longer earlier line left to the right (no terminal escapes: a Windows console
    // does not read them by default).
    std::u16string line(1, u'\r');
    line += text.GetText();
    std::size_t length = static_cast<std::size_t>(text.GetLength());
    if (length < drawnLength_) {
        line.append(drawnLength_ - length, u' ');
    }
    drawnLength_ = length;
    Console::Write(Console::Stream::Error, line);
    drawn_ = true;
}

void ProgressLine::Finish() {
    if (enabled_ && drawn_) {
        std::u16string blank(1, u'\r');
        blank.append(drawnLength_, u' ').append(1, u'\r');
        Console::Write(Console::Stream::Error, blank);
        drawn_ = false;
        drawnLength_ = 0;
    }
}
