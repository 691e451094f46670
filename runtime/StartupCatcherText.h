#pragma once

#include "runtime/CWString.h"

class CVolException;

// The texts of the start-up catcher's message boxes (the catcher itself belongs to the program entry).

inline constexpr char16_t RUNTIME_EXCEPTION_CAPTION[] = u"运行时异常";

// "俘获到异常,代码值为: <code>, 描述为: <description>"; the description is shown as it is, never read
// as a format.
CWString CaughtExceptionText(const CVolException& error);
// For any exception other than CVolException. A fixed literal, so the message can be shown without
// allocating after an allocation failure.
const char16_t* UnmanagedExceptionText();
