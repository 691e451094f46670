#pragma once

#include <cstdint>

#include "runtime/CWString.h"

// The exception of the runtime library: an error code and a text. Application code throws it by value
// to report an error of its own; it is caught by reference. The library itself never throws it.
//
// How the runtime reports errors, by gravity:
// - Bad input and failed operations report through their result and never throw: false, null, the
//   empty text, 0 from an unreadable number (decimal overflow saturates, hexadecimal wraps),
//   OLE_DATE_MIN from an unreadable date, the empty text for a date out of range, and the stream status
//   (CVolStream: 0 good, -3 short read or negative count, -4 write refused). Once a stream's status is
//   not 0, loads and saves do nothing, and a failed load leaves the value as it was.
// - Memory exhaustion in the memory manager ends the process at once with exit code -1, without a
//   message and without throwing.
// - Exceptions (this one, and those raised beneath the library: container length and allocation
//   errors, file-system errors, COM-style result codes of the window and module layer) are caught only
//   by the start-up catcher around the creation of the main form, which shows a message titled
//   RUNTIME_EXCEPTION_CAPTION (runtime/StartupCatcherText.h) and ends the process with exit code -1.
//   Code that runs from the message loop catches them at its own event boundary.
class CVolException {
public:
    // Construction
    CVolException(std::int32_t code, const char16_t* description);  // null reads as the empty text
    CVolException(std::int32_t code, const CWString& description);

    // Attributes
    std::int32_t GetCode() const { return code_; }
    const CWString& GetDescription() const { return description_; }

private:
    std::int32_t code_;
    CWString description_;
};
