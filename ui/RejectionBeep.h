#pragma once

#include "appsvc/Win32Api.h"

// The sound of a character an edit box refuses: MessageBeep(MB_ICONEXCLAMATION). The sound can be
// replaced, so that tests can count it instead of hearing it.
using RejectionBeepFunction = BOOL(WINAPI*)(UINT type);

void SoundRejectionBeep();

// Installs `beep` (null restores MessageBeep) and returns the function used before.
RejectionBeepFunction ReplaceRejectionBeep(RejectionBeepFunction beep);
