#pragma once

#include <cstdint>

#include "runtime/NumberText.h"
#include "runtime/OleDate.h"

class CWString;

// Text forms of numbers, characters and dates written into a wide string: each replaces the whole text
// of `out`. The rules themselves live in runtime/NumberText.h and runtime/OleDate.h (which also hold
// the parsers and BuildOleDate, the date built from its parts); these are the forms the value classes
// and the application use.

void Int32ToText(std::int32_t value, CWString& out);  // "%d"
void Int64ToText(std::int64_t value, CWString& out);  // decimal digits, "-" for negatives
void FloatToText(float value, CWString& out);         // "0" within 1e-6 of zero, else "%.8G"
void DoubleToText(double value, CWString& out);       // "0" within 1e-6 of zero, else "%.15G"
void CharToText(char16_t unit, CWString& out);        // the unit itself; 0 gives the empty text

// The date in numeric or Chinese style (OleDateToText); the empty text for a date out of range or a
// selector other than OLE_DATE_TEXT_DATE_AND_TIME and OLE_DATE_TEXT_DATE_ONLY.
void OleDateToText(double date, bool chineseStyle, int selector, CWString& out);
// OleDateFromText over the string's text: OLE_DATE_MIN for empty or unreadable text.
double OleDateFromText(const CWString& text, bool chineseStyle);
