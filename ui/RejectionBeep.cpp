#include "ui/RejectionBeep.h"

namespace {

// Only the user-interface thread sounds it.
RejectionBeepFunction currentBeep = &MessageBeep;

}  // namespace

void SoundRejectionBeep() {
    currentBeep(MB_ICONEXCLAMATION);
}

RejectionBeepFunction ReplaceRejectionBeep(RejectionBeepFunction beep) {
    const RejectionBeepFunction previous = currentBeep;
    currentBeep = beep != nullptr ? beep : &MessageBeep;
    return previous;
}
