#include "app/cli/ProgressLine.h"

#include "app/cli/Console.h"
#include "runtime/CWString.h"

#include <string>

namespace {

inline constexpr std::chrono::milliseconds kRedrawInterval{100};

}  // namespace

ProgressLine::ProgressLine()
    : enabled_(Console::IsTerminal(Console::Stream::Error)),
      start_(std::chrono::steady_clock::now()),
      lastDraw_(start_) {}

void ProgressLine::OnProgress(std::int64_t filesListed, std::int64_t rowsWritten) {
    if (!enabled_) {
        return;
    }
    auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - lastDraw_ < kRedrawInterval) {
        return;
    }
    lastDraw_ = now;
    Draw(filesListed, rowsWritten);
}

void ProgressLine::Draw(std::int64_t filesListed, std::int64_t rowsWritten) {
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    CWString text;
    text.Format(u"%lld files listed, %lld rows written, %.1f s", static_cast<long long>(filesListed),
                static_cast<long long>(rowsWritten), seconds);
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
