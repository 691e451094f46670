#include "runtime/ValueText.h"

#include "runtime/CWString.h"

// Every form fits a small stack buffer, so `out` is written once, with the final text.

void Int32ToText(std::int32_t value, CWString& out) {
    char16_t text[INTEGER_TEXT_CAPACITY];
    out.SetUnits(text, Int32ToText(value, text));
}

void Int64ToText(std::int64_t value, CWString& out) {
    char16_t text[INTEGER_TEXT_CAPACITY];
    out.SetUnits(text, Int64ToText(value, text));
}

void FloatToText(float value, CWString& out) {
    char16_t text[REAL_TEXT_CAPACITY];
    out.SetUnits(text, FloatToText(value, text));
}

void DoubleToText(double value, CWString& out) {
    char16_t text[REAL_TEXT_CAPACITY];
    out.SetUnits(text, DoubleToText(value, text));
}

void CharToText(char16_t unit, CWString& out) {
    // SetUnits with a count of 0 empties the string.
    out.SetUnits(&unit, unit != 0 ? 1 : 0);
}

void OleDateToText(double date, bool chineseStyle, int selector, CWString& out) {
    char16_t text[OLE_DATE_TEXT_CAPACITY];
    out.SetUnits(text, OleDateToText(date, chineseStyle, selector, text));
}

double OleDateFromText(const CWString& text, bool chineseStyle) {
    return OleDateFromText(text.GetText(), chineseStyle);
}
