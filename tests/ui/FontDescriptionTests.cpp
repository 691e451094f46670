#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "ui/FontDescription.h"

namespace {

struct SizeCase {
    const char16_t* text;
    int logPixelsY;
    std::optional<std::int32_t> height;
};

class FontDescriptionSize : public testing::TestWithParam<SizeCase> {};

TEST_P(FontDescriptionSize, ConvertsPointsToNegativePixelsRoundingHalvesUp) {
    const SizeCase& row = GetParam();
    EXPECT_EQ(FontDescription::Parse(row.text, row.logPixelsY).height, row.height);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FontDescriptionSize,
    testing::Values(SizeCase{u"微软雅黑, 11, 0, 0, 0, 0, 0", 96, -15},  // 14.67 rounds to 15
                    SizeCase{u"微软雅黑, 13", 96, -17},                 // 17.33
                    SizeCase{u"A, 11", 120, -18},                       // 18.33
                    SizeCase{u"A, 9", 96, -12},                         // exactly 12
                    SizeCase{u"A, 3", 108, -5},                         // 4.5 rounds up
                    SizeCase{u"A, -12", 96, -16},                       // the sign is dropped
                    SizeCase{u"A, 12pt", 96, -16},                      // leading integer only
                    SizeCase{u"A, 0", 96, std::nullopt}, SizeCase{u"A, big", 96, std::nullopt},
                    SizeCase{u"A, ", 96, std::nullopt},
                    SizeCase{u"A, 1", 0, std::nullopt},              // no pixels at all
                    SizeCase{u"A, 99999999999", 96, -2147483647}));  // saturates, no overflow

struct FlagCase {
    const char16_t* field;
    bool set;
};

class FontDescriptionFlags : public testing::TestWithParam<FlagCase> {};

TEST_P(FontDescriptionFlags, CountOnlyExactlyOneAfterTrimming) {
    const FlagCase& row = GetParam();
    const std::u16string text =
        std::u16string(u"A, 9, ") + row.field + u"," + row.field + u"," + row.field + u"," + row.field;
    const FontDescription font = FontDescription::Parse(text, 96);
    EXPECT_EQ(font.weight, row.set ? FontDescription::kBoldWeight : FontDescription::kNormalWeight);
    EXPECT_EQ(font.italic, row.set);
    EXPECT_EQ(font.underline, row.set);
    EXPECT_EQ(font.strikeOut, row.set);
}

INSTANTIATE_TEST_SUITE_P(Rows, FontDescriptionFlags,
                         testing::Values(FlagCase{u"1", true}, FlagCase{u" 1 ", true},
                                         FlagCase{u"\u30001\t", true}, FlagCase{u"2", false},
                                         FlagCase{u"true", false}, FlagCase{u"01", false},
                                         FlagCase{u"-1", false}, FlagCase{u"", false},
                                         FlagCase{u"1 1", false}));

struct AngleCase {
    const char16_t* field;
    std::optional<std::int32_t> angle;
};

class FontDescriptionAngle : public testing::TestWithParam<AngleCase> {};

TEST_P(FontDescriptionAngle, WrapsIntoOneTurn) {
    const std::u16string text = std::u16string(u"A,9,0,0,0,0,") + GetParam().field;
    EXPECT_EQ(FontDescription::Parse(text, 96).angle, GetParam().angle);
}

INSTANTIATE_TEST_SUITE_P(Rows, FontDescriptionAngle,
                         testing::Values(AngleCase{u"-900", 2700}, AngleCase{u"3600", 0},
                                         AngleCase{u"450", 450}, AngleCase{u"7250", 50},
                                         AngleCase{u"-3600", 0}, AngleCase{u"x", 0},
                                         AngleCase{u"", std::nullopt}, AngleCase{u"  ", std::nullopt},
                                         AngleCase{u"-2147483648", 2752}));

TEST(FontDescription, MainFormDescriptionSetsEveryField) {
    const FontDescription font = FontDescription::Parse(u"微软雅黑, 11, 0, 0, 0, 0, 0", 96);
    EXPECT_EQ(font.faceName, std::u16string(u"微软雅黑"));
    EXPECT_EQ(font.height, -15);
    EXPECT_EQ(font.weight, 400);
    EXPECT_EQ(font.italic, false);
    EXPECT_EQ(font.underline, false);
    EXPECT_EQ(font.strikeOut, false);
    EXPECT_EQ(font.angle, 0);
}

TEST(FontDescription, FaceNameIsTrimmedAndCutAt31Units) {
    const std::u16string longName(40, u'x');
    EXPECT_EQ(FontDescription::Parse(u"  " + longName + u" ,9", 96).faceName, std::u16string(31, u'x'));
    EXPECT_EQ(FontDescription::Parse(u"\u3000宋体\u3000", 96).faceName, std::u16string(u"宋体"));
}

TEST(FontDescription, EmptyTextSetsNothing) {
    EXPECT_EQ(FontDescription::Parse(u"", 96), FontDescription{});
    EXPECT_EQ(FontDescription::Parse(static_cast<const char16_t*>(nullptr), 96), FontDescription{});
}

TEST(FontDescription, MissingFieldsStayUnset) {
    const FontDescription font = FontDescription::Parse(u"Arial, 10", 96);
    EXPECT_EQ(font.faceName, std::u16string(u"Arial"));
    EXPECT_FALSE(font.weight.has_value());
    EXPECT_FALSE(font.italic.has_value());
    EXPECT_FALSE(font.angle.has_value());
}

TEST(FontDescription, EmptyFaceKeepsTheStartingFace) {
    const FontDescription font = FontDescription::Parse(u" , 10, 1", 96);
    EXPECT_FALSE(font.faceName.has_value());
    EXPECT_EQ(font.weight, 700);
}

TEST(FontDescription, FieldsBeyondTheSeventhAreIgnored) {
    const FontDescription withExtra = FontDescription::Parse(u"A,9,1,1,1,1,10,999,1", 96);
    EXPECT_EQ(withExtra, FontDescription::Parse(u"A,9,1,1,1,1,10", 96));
}

TEST(FontDescription, LeadingIntegerReadsLikeAtoi) {
    EXPECT_EQ(LeadingInteger(u"42abc"), 42);
    EXPECT_EQ(LeadingInteger(u"+7"), 7);
    EXPECT_EQ(LeadingInteger(u"-"), 0);
    EXPECT_EQ(LeadingInteger(u"abc"), 0);
    EXPECT_EQ(LeadingInteger(u"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(LeadingInteger(u"-99999999999"), -2147483647 - 1);
}

}  // namespace
