#include <gtest/gtest.h>

#include <string>

#include "ui/EditInputRules.h"

namespace {

struct CharacterCase {
    int inputType;
    const char16_t* accepted;
    const char16_t* refused;
};

class EditCharacterFilter : public testing::TestWithParam<CharacterCase> {};

TEST_P(EditCharacterFilter, TakesOnlyTheCharactersOfItsType) {
    const CharacterCase& row = GetParam();
    for (const char16_t* c = row.accepted; *c != 0; ++c) {
        EXPECT_TRUE(IsCharacterAccepted(row.inputType, *c))
            << "type " << row.inputType << " char " << int(*c);
    }
    for (const char16_t* c = row.refused; *c != 0; ++c) {
        EXPECT_FALSE(IsCharacterAccepted(row.inputType, *c))
            << "type " << row.inputType << " char " << int(*c);
    }
}

// Control characters (backspace, tab, Ctrl+V, Enter) pass every filter.
INSTANTIATE_TEST_SUITE_P(Rows, EditCharacterFilter,
                         testing::Values(CharacterCase{0, u"a-.9 中\b", u""},
                                         CharacterCase{1, u"a-.9 中", u""}, CharacterCase{2, u"a-.9 中", u""},
                                         CharacterCase{3, u"-09\b\x16\r", u".a +e中"},
                                         CharacterCase{4, u"-.09\b", u"a +e,"},
                                         CharacterCase{5, u"0123456789\b\t", u"-.a+ "},
                                         CharacterCase{6, u"-09", u".a"}, CharacterCase{7, u"-09", u".a"},
                                         CharacterCase{8, u"-09", u".a"}, CharacterCase{9, u"-.09", u"ae"},
                                         CharacterCase{10, u"-.09", u"aE+"},
                                         CharacterCase{11, u"a/:年 ", u""}, CharacterCase{12, u"a/:年 ", u""},
                                         CharacterCase{13, u"xFfg-", u""}, CharacterCase{99, u"a-.", u""}));

struct NormaliseCase {
    int inputType;
    const char16_t* text;
    const char16_t* expected;
};

std::ostream& operator<<(std::ostream& out, const NormaliseCase& row) {
    const std::u16string text(row.text);
    return out << "type " << row.inputType << " text of " << text.size() << " units";
}

class EditNormalisation : public testing::TestWithParam<NormaliseCase> {};

TEST_P(EditNormalisation, TidiesTheTextByInputType) {
    const NormaliseCase& row = GetParam();
    EXPECT_EQ(std::u16string(NormaliseEditText(row.inputType, row.text).GetText()),
              std::u16string(row.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EditNormalisation,
    testing::Values(
        // Types without tidying keep the text, "0" included.
        NormaliseCase{0, u" 300 ", u" 300 "}, NormaliseCase{2, u"0", u"0"},
        NormaliseCase{3, u"12ab", u"12ab"}, NormaliseCase{4, u"0", u"0"}, NormaliseCase{42, u"x", u"x"},
        // Byte.
        NormaliseCase{5, u"300", u"255"}, NormaliseCase{5, u"-5", u""}, NormaliseCase{5, u"0", u""},
        NormaliseCase{5, u"007", u"7"}, NormaliseCase{5, u"  42x", u"42"}, NormaliseCase{5, u"abc", u""},
        NormaliseCase{5, u"", u""},
        // 16 and 32 bits clamp; 64 bits saturate.
        NormaliseCase{6, u"40000", u"32767"}, NormaliseCase{6, u"-40000", u"-32768"},
        NormaliseCase{6, u"-12", u"-12"}, NormaliseCase{7, u"99999999999", u"2147483647"},
        NormaliseCase{7, u"-99999999999", u"-2147483648"}, NormaliseCase{7, u"-0", u""},
        NormaliseCase{7, u"12-3", u"12"}, NormaliseCase{8, u"9223372036854775808", u"9223372036854775807"},
        NormaliseCase{8, u"-9223372036854775809", u"-9223372036854775808"},
        // Single precision: six significant digits of the float value.
        NormaliseCase{9, u"3.14159265", u"3.14159"}, NormaliseCase{9, u"0.1", u"0.1"},
        NormaliseCase{9, u"123456789", u"1.23457E+08"}, NormaliseCase{9, u"1e39", u""},
        NormaliseCase{9, u"-0", u""}, NormaliseCase{10, u"-0.0", u""},
        // Double precision: thirteen significant digits, trailing zeros dropped.
        NormaliseCase{10, u"3.14159265358979323", u"3.14159265359"}, NormaliseCase{10, u"2.50", u"2.5"},
        NormaliseCase{10, u".5", u"0.5"}, NormaliseCase{10, u"-1.25e3", u"-1250"},
        NormaliseCase{10, u"1e20", u"1E+20"}, NormaliseCase{10, u"1e999", u""},
        NormaliseCase{10, u"inf", u""}, NormaliseCase{10, u"-", u""}, NormaliseCase{10, u"0.000", u""},
        // Dates in Chinese style, read in either style; no date gives the empty text.
        NormaliseCase{11, u"2024-3-5 14:07", u"2024年3月5日14时7分"},
        NormaliseCase{11, u"2024年3月5日", u"2024年3月5日"},
        NormaliseCase{11, u"2024/3/5 14:7:30", u"2024年3月5日14时7分30秒"}, NormaliseCase{11, u"soon", u""},
        NormaliseCase{11, u"", u""}, NormaliseCase{11, u"100-1-1", u""},
        NormaliseCase{12, u"2024-3-5 14:07", u"2024年3月5日"},
        NormaliseCase{12, u"9999.12.31", u"9999年12月31日"},
        NormaliseCase{12, u"2024年3月5日14时", u"2024年3月5日"},
        NormaliseCase{11, u"2024-3-5 0:0", u"2024年3月5日"},
        // Hexadecimal.
        NormaliseCase{13, u"ff", u"FF"}, NormaliseCase{13, u"0x1f", u"1F"}, NormaliseCase{13, u"00", u""},
        NormaliseCase{13, u"-1", u""}, NormaliseCase{13, u"FFFFFFFFFFFFFFFFF", u"FFFFFFFFFFFFFFFF"},
        NormaliseCase{13, u"8000000000000000", u"8000000000000000"}));

TEST(EditNormalisation, NullTextReadsAsEmpty) {
    EXPECT_EQ(std::u16string(NormaliseEditText(EDIT_INPUT_TEXT, nullptr).GetText()), u"");
    EXPECT_EQ(std::u16string(NormaliseEditText(EDIT_INPUT_BYTE, nullptr).GetText()), u"");
}

struct DoubleCase {
    const char16_t* text;
    double value;
};

class LeadingDouble : public testing::TestWithParam<DoubleCase> {};

TEST_P(LeadingDouble, ReadsTheLeadingDecimalNumber) {
    EXPECT_DOUBLE_EQ(ParseLeadingDouble(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Rows, LeadingDouble,
                         testing::Values(DoubleCase{u"  -2.5e3xyz", -2500.0}, DoubleCase{u"+.5", 0.5},
                                         DoubleCase{u"7.", 7.0}, DoubleCase{u"1e", 1.0},
                                         DoubleCase{u"-", 0.0}, DoubleCase{u"nan", 0.0},
                                         DoubleCase{u"-infinity", 0.0}, DoubleCase{u"1e400", 0.0},
                                         DoubleCase{u"0x10", 0.0}, DoubleCase{u"٣", 0.0},
                                         DoubleCase{u"", 0.0}));

TEST(LeadingDouble, NullReadsAsZero) {
    EXPECT_EQ(ParseLeadingDouble(nullptr), 0.0);
}

}  // namespace
