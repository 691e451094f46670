#pragma once

#include "appsvc/IModalLoopOwner.h"

// The modal message loop of a form; returns the form's modal result.
//
// While no main window exists the form is the main window for the duration of the loop (and no
// longer, so that destroying it afterwards posts no quit message). Keyboard and mouse messages are
// offered to the framework windows first, as FrameworkPreTranslate does; the application hook,
// message filters and idle work do not run here. The loop ends when the form's modal state leaves
// kModalRunning or when GetMessageW fails or fetches WM_QUIT; a quit message is posted again so
// that the outer loop ends too.
int RunModalLoop(IModalLoopOwner& owner);
