#pragma once

#include "runtime/CVolException.h"
#include "runtime/StartupCatcherText.h"
#include "ui/CVolWinLabel.h"

// Shows an exception that reached an event handler's boundary: `text` in red in the status line.
void ShowHandlerFailure(CVolWinLabel& statusLabel, const char16_t* text);

// Runs the work of one event handler so that no exception leaves it. Handlers are called from window
// procedures, and an exception must not unwind through the system's frames; the start-up catcher is
// long gone by then. The user sees the text the start-up catcher would have shown, in red in the
// status line, and the program keeps running.
template <class Work>
void RunAtEventBoundary(CVolWinLabel& statusLabel, Work&& work) {
    try {
        work();
    } catch (const CVolException& error) {
        ShowHandlerFailure(statusLabel, CaughtExceptionText(error).GetText());
    } catch (...) {
        ShowHandlerFailure(statusLabel, UnmanagedExceptionText());
    }
}
