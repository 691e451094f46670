#include <gtest/gtest.h>

#include <string>

#include "runtime/CVolMem.h"
#include "runtime/Utf8Conversion.h"

// The library's own codec: ill-formed input becomes U+FFFD, never an error and never lost text.

namespace {

TEST(Utf8ConversionPosix, LoneSurrogatesBecomeReplacementCharacters) {
    struct Case {
        std::u16string wide;
        const char* utf8;
    };
    const Case cases[] = {
        {u"a\xD800"
         u"b",
         "a\xEF\xBF\xBD"
         "b"},
        {u"a\xDC00", "a\xEF\xBF\xBD"},
        {u"\xD83D", "\xEF\xBF\xBD"},
        {u"\xDE00\xD83D", "\xEF\xBF\xBD\xEF\xBF\xBD"},  // the wrong order is no pair
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        CVolMem out;
        EXPECT_STREQ(WideToUtf8(c.wide.c_str(), out), c.utf8);
    }
}

TEST(Utf8ConversionPosix, BrokenUtf8BecomesOneReplacementPerMaximalBadPart) {
    struct Case {
        const char* name;
        const char* utf8;
        std::u16string wide;
    };
    const Case cases[] = {
        {"stray continuation", "a\x80z", u"a\uFFFDz"},
        {"cut-off two-byte", "a\xC3", u"a\uFFFD"},
        {"cut-off four-byte", "\xF0\x9F\x98z", u"\uFFFDz"},
        {"overlong two-byte", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"overlong three-byte", "\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"invalid byte",
         "\xFF"
         "a",
         u"\uFFFDa"},
        {"lead then ASCII",
         "\xE6\x96"
         "a",
         u"\uFFFDa"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CVolMem out;
        EXPECT_EQ(std::u16string(Utf8ToWide(c.utf8, out)), c.wide);
    }
}

}  // namespace
