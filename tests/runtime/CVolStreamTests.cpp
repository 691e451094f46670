#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "runtime/CVolInStream.h"
#include "runtime/CVolMem.h"
#include "runtime/CVolOutStream.h"

namespace {

TEST(CVolInStream, ReadsExactlyTheRequestedCountOrNothing) {
    const unsigned char bytes[] = {1, 2, 3, 4, 5};
    CVolInStream input(bytes, sizeof bytes);
    unsigned char out[8] = {};
    ASSERT_TRUE(input.Read(out, 2));
    EXPECT_EQ(out[1], 2);
    EXPECT_EQ(input.GetRemaining(), 3u);
    EXPECT_FALSE(input.Read(out, 4));
    EXPECT_EQ(input.GetStatus(), CVolStream::kShortRead);
    EXPECT_EQ(input.GetRemaining(), 3u) << "a short read consumes nothing";
    EXPECT_FALSE(input.Read(out, 1)) << "nothing is read once the status is bad";
}

TEST(CVolStreams, Int32IsLittleEndianBothWays) {
    struct Case {
        std::int32_t value;
        std::vector<unsigned char> bytes;
    };
    const Case cases[] = {
        {0, {0, 0, 0, 0}},
        {1, {1, 0, 0, 0}},
        {-1, {0xFF, 0xFF, 0xFF, 0xFF}},
        {0x12345678, {0x78, 0x56, 0x34, 0x12}},
        {INT32_MIN, {0, 0, 0, 0x80}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        std::vector<unsigned char> written;
        CVolOutStream output(written);
        ASSERT_TRUE(output.WriteInt32(c.value));
        EXPECT_EQ(written, c.bytes);
        CVolInStream input(written.data(), written.size());
        std::int32_t read = 7;
        ASSERT_TRUE(input.ReadInt32(read));
        EXPECT_EQ(read, c.value);
    }
}

TEST(CVolOutStream, AppendsToABufferOrAVector) {
    CVolMem buffer;
    buffer.Append("ab", 2);
    std::vector<unsigned char> vector{'a', 'b'};
    CVolOutStream toBuffer(buffer);
    CVolOutStream toVector(vector);
    EXPECT_TRUE(toBuffer.Write("cde", 3));
    EXPECT_TRUE(toVector.Write("cde", 3));
    ASSERT_EQ(buffer.GetSize(), 5);
    EXPECT_EQ(std::vector<unsigned char>(buffer.GetData(), buffer.GetData() + 5), vector);
    EXPECT_EQ(toBuffer.GetWritten(), 3u);
}

TEST(CVolOutStream, AWritePastTheLimitFailsWholeAndStopsTheStream) {
    std::vector<unsigned char> written;
    CVolOutStream output(written, 6);
    EXPECT_TRUE(output.Write("1234", 4));
    EXPECT_FALSE(output.Write("567", 3));
    EXPECT_EQ(output.GetStatus(), CVolStream::kWriteFailed);
    EXPECT_EQ(written.size(), 4u);
    EXPECT_FALSE(output.Write("5", 1)) << "nothing is written once the status is bad";
    EXPECT_EQ(written.size(), 4u);
}

}  // namespace
