#include "app/export/cells/SizeText.h"
#include "tests/app/AppPrinters.h"

#include <gtest/gtest.h>

namespace {

struct SizeCase {
    std::int64_t bytes;
    std::u16string text;
};

TEST(SizeText, CountsWholeUnitsOfAThousandBytes) {
    const SizeCase cases[] = {
        {0, u"0KB"},
        {999, u"0KB"},
        {1000, u"1KB"},
        {1999, u"1KB"},
        {1024, u"1KB"},
        {1500000, u"1500KB"},
        {1234567890, u"1234567KB"},
        // Beyond 15 significant digits "%.15G" switches to its exponent form.
        {999999999999999999, u"999999999999999KB"},
        {1000000000000000000, u"1E+15KB"},
        {-1, u"0KB"},
    };
    for (const SizeCase& row : cases) {
        SCOPED_TRACE(row.bytes);
        EXPECT_EQ(Text(SizeText(row.bytes)), row.text);
    }
}

}  // namespace
