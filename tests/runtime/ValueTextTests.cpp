#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "RuntimePrinters.h"
#include "runtime/CWConstString.h"
#include "runtime/ValueText.h"

namespace {

// Each form replaces whatever the target held, an owned text or a view of a literal.
TEST(ValueText, NumberFormsReplaceTheTarget) {
    struct Row {
        const char* what;
        void (*write)(CWString& out);
        const char16_t* expected;
    };
    const Row rows[] = {
        {"int32", [](CWString& out) { Int32ToText(-42, out); }, u"-42"},
        {"int64 min", [](CWString& out) { Int64ToText(INT64_MIN, out); }, u"-9223372036854775808"},
        {"int64 zero", [](CWString& out) { Int64ToText(0, out); }, u"0"},
        {"float near zero", [](CWString& out) { FloatToText(-0.0000005f, out); }, u"0"},
        {"float", [](CWString& out) { FloatToText(123456.789f, out); }, u"123456.79"},
        {"double", [](CWString& out) { DoubleToText(1e20, out); }, u"1E+20"},
        {"double digits", [](CWString& out) { DoubleToText(1.0 / 3.0, out); }, u"0.333333333333333"},
        {"char", [](CWString& out) { CharToText(u'Z', out); }, u"Z"},
        {"char 0", [](CWString& out) { CharToText(0, out); }, u""},
    };
    for (const Row& row : rows) {
        CWString owned(u"previous text that is longer than any result");
        row.write(owned);
        EXPECT_EQ(TextOf(owned), row.expected) << row.what;

        CWConstString literal(u"literal");
        row.write(literal);
        EXPECT_EQ(TextOf(literal), row.expected) << row.what << " (literal target)";
    }
}

// The date rules are OleDate's; here only that the text lands in the string, empty text included.
TEST(ValueText, DateTextsReplaceTheTarget) {
    const double date = BuildOleDate(2024, 3, 5, 14, 7, 0, OLE_DATE_MIN);
    CWString out(u"stale");
    OleDateToText(date, true, OLE_DATE_TEXT_DATE_AND_TIME, out);
    EXPECT_EQ(TextOf(out), u"2024年3月5日14时7分");
    OleDateToText(date, false, OLE_DATE_TEXT_DATE_ONLY, out);
    EXPECT_EQ(TextOf(out), u"3/5/2024");
    OleDateToText(date, false, 2, out);
    EXPECT_EQ(TextOf(out), u"");

    EXPECT_DOUBLE_EQ(OleDateFromText(CWString(u"3/5/2024 14:7"), false), date);
    EXPECT_EQ(OleDateFromText(CWString(), true), OLE_DATE_MIN);
}

}  // namespace
