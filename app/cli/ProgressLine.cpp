#include "app/cli/ProgressLine.h"

#include "app/cli/Console.h"
#include "app/cli/TerminalWidth.h"
#include "runtime/CWString.h"

#include <string>
#include <utility>

namespace {

inline constexpr std::chrono::milliseconds kRedrawInterval{200};

}  // namespace

ProgressLine::ProgressLine() {
    if (Console::IsTerminal(Console::Stream::Error)) {
        terminal_ = [](std::u16string_view text) { Console::Write(Console::Stream::Error, text); };
    }
}

ProgressLine::ProgressLine(std::function<void(std::u16string_view)> terminal)
    : terminal_(std::move(terminal)) {}

void ProgressLine::OnProgress(const ExportProgress& progress) {
    if (!terminal_) {
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
    // Blanks over what a wider earlier line left to the right (no terminal escapes: a Windows console
    // does not read them by default). A Chinese name takes two columns a character.
    std::u16string line(1, u'\r');
    line += text.GetText();
    const std::size_t width =
        TerminalWidth(std::u16string_view(text.GetText(), static_cast<std::size_t>(text.GetLength())));
    if (width < drawnWidth_) {
        line.append(drawnWidth_ - width, u' ');
    }
    drawnWidth_ = width;
    terminal_(line);
    drawn_ = true;
}

void ProgressLine::Finish() {
    if (terminal_ && drawn_) {
        std::u16string blank(1, u'\r');
        blank.append(drawnWidth_, u' ').append(1, u'\r');
        terminal_(blank);
        drawn_ = false;
        drawnWidth_ = 0;
    }
}
