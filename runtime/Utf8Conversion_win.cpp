#include <windows.h>

#include "runtime/Utf8Conversion.h"

int WideToUtf8Units(const char16_t* text, int length, char* out, int capacity) {
    return WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t*>(text), length, out, capacity,
                               nullptr, nullptr);
}

int Utf8ToWideUnits(const char* text, int length, char16_t* out, int capacity) {
    return MultiByteToWideChar(CP_UTF8, 0, text, length, reinterpret_cast<wchar_t*>(out), capacity);
}
