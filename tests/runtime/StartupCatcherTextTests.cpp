#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "RuntimePrinters.h"
#include "runtime/CVolException.h"
#include "runtime/StartupCatcherText.h"

namespace {

TEST(StartupCatcherText, CaughtExceptionShowsCodeAndDescription) {
    struct Row {
        std::int32_t code;
        const char16_t* description;
        const char16_t* expected;
    };
    const Row rows[] = {
        {5, u"abc", u"俘获到异常,代码值为: 5, 描述为: abc"},
        {-1, u"", u"俘获到异常,代码值为: -1, 描述为: "},
        {INT32_MIN, nullptr, u"俘获到异常,代码值为: -2147483648, 描述为: "},
        // A description is text, not a format.
        {7, u"%s %d %n 100%", u"俘获到异常,代码值为: 7, 描述为: %s %d %n 100%"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(TextOf(CaughtExceptionText(CVolException(row.code, row.description))), row.expected);
    }
}

TEST(StartupCatcherText, FixedTexts) {
    EXPECT_EQ(std::u16string(UnmanagedExceptionText()), u"程序在运行时抛出了未被管理的异常");
    EXPECT_EQ(std::u16string(RUNTIME_EXCEPTION_CAPTION), u"运行时异常");
}

TEST(CVolException, SurvivesThrowByValueAndCatchByReference) {
    try {
        CWString description(u"built in a frame that is gone");
        description.Append(u" by the catch");
        throw CVolException(42, description);
    } catch (const CVolException& error) {
        EXPECT_EQ(error.GetCode(), 42);
        EXPECT_EQ(TextOf(error.GetDescription()), u"built in a frame that is gone by the catch");
        return;
    }
    ADD_FAILURE() << "the exception was not caught as CVolException";
}

}  // namespace
