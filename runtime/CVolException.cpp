#include "runtime/CVolException.h"

CVolException::CVolException(std::int32_t code, const char16_t* description)
    : code_(code), description_(description) {}

CVolException::CVolException(std::int32_t code, const CWString& description)
    : code_(code), description_(description.GetText()) {}
