#include "app/export/filesystem/NameCoding.h"
#include "tests/app/AppPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(NameCoding, ReplacesOnlyUnpairedSurrogates) {
    const std::u16string pair = u"😀";
    struct {
        std::u16string input;
        std::u16string output;
    } cases[] = {
        {u"plain", u"plain"},
        {pair, pair},
        {std::u16string{0xD800, u'x'}, u"\uFFFDx"},
        {std::u16string{u'x', 0xDC00}, u"x\uFFFD"},
        // A low surrogate before a high one pairs with nothing.
        {std::u16string{0xDC00, 0xD800}, u"\uFFFD\uFFFD"},
        {std::u16string{0xD800, 0xD800, 0xDC00}, std::u16string{0xFFFD, 0xD800, 0xDC00}},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(ReplaceLoneSurrogates(row.input), row.output);
    }
}

TEST(NameCoding, DecodesBrokenUtf8WithReplacementCharacters) {
    EXPECT_EQ(DecodeUtf8Lossy("\xE6\x96\x87\xE4\xBB\xB6"), u"文件");
    EXPECT_EQ(DecodeUtf8Lossy("\xF0\x9F\x98\x80"), u"😀");
    std::u16string broken = DecodeUtf8Lossy("bad\xFF.txt");
    EXPECT_EQ(broken.substr(0, 3), u"bad");
    EXPECT_NE(broken.find(kReplacementCharacter), std::u16string::npos);
    EXPECT_EQ(broken.substr(broken.size() - 4), u".txt");
    EXPECT_EQ(DecodeUtf8Lossy(""), u"");
}

TEST(NameCoding, EncodesAndDecodesValidTextUnchanged) {
    const std::u16string texts[] = {u"a b\tc", u"文件清单_.xlsx", u"😀 and ü", u"\x01control"};
    for (const std::u16string& text : texts) {
        EXPECT_EQ(DecodeUtf8Lossy(EncodeUtf8(text)), text);
    }
    EXPECT_EQ(EncodeUtf8(u"文件"), "\xE6\x96\x87\xE4\xBB\xB6");
}

TEST(NameCoding, EncodesALoneSurrogateAsTheReplacementCharacter) {
    EXPECT_EQ(EncodeUtf8(std::u16string(1, 0xD800)), "\xEF\xBF\xBD");
}

TEST(NameCoding, CarriesFileNameBytesThatAreNotUtf8Unchanged) {
    const struct {
        std::string bytes;
        std::u16string text;
    } cases[] = {
        {"plain", u"plain"},
        {"\xE6\x96\x87\xF0\x9F\x98\x80", u"文😀"},
        {"d\xFF", std::u16string{u'd', 0xDCFF}},
        // A truncated sequence, an overlong form and an encoded surrogate: byte by byte.
        {"\xE6\x96x", std::u16string{0xDCE6, 0xDC96, u'x'}},
        {"\xC0\xAF", std::u16string{0xDCC0, 0xDCAF}},
        {"\xED\xA0\x80", std::u16string{0xDCED, 0xDCA0, 0xDC80}},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(DecodeFileName(row.bytes), row.text);
        EXPECT_EQ(EncodeFileName(row.text), row.bytes);
    }
    // Shown, the carried bytes are replacement characters.
    EXPECT_EQ(ReplaceLoneSurrogates(DecodeFileName("d\xFF")), u"d\uFFFD");
    // A lone surrogate that carries no byte has no bytes of its own.
    EXPECT_EQ(EncodeFileName(std::u16string(1, 0xD800)), "\xEF\xBF\xBD");
}

}  // namespace
