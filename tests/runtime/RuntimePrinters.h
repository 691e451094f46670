#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "runtime/CU8String.h"
#include "runtime/CVolMem.h"
#include "runtime/CWString.h"
#include "runtime/Utf8Conversion.h"

// Readable failure messages for the runtime's text types (GoogleTest finds PrintTo by argument lookup).

inline void PrintTo(const CWString& text, std::ostream* os) {
    CVolMem utf8;
    *os << "u\"" << WideToUtf8(text.GetText(), utf8) << "\"";
}

inline void PrintTo(const CU8String& text, std::ostream* os) {
    *os << "\"" << text.GetText() << "\"";
}

inline std::ostream& operator<<(std::ostream& os, const CWString& text) {
    PrintTo(text, &os);
    return os;
}

inline std::ostream& operator<<(std::ostream& os, const CU8String& text) {
    PrintTo(text, &os);
    return os;
}

// The text of a string as a standard string, for comparisons in expectations.
inline std::u16string TextOf(const CWString& text) {
    return std::u16string(text.GetText());
}
