#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "RuntimePrinters.h"
#include "runtime/CVolInStream.h"
#include "runtime/CVolMem.h"
#include "runtime/CVolOutStream.h"
#include "runtime/CWString.h"

namespace {

CVolMem BufferOf(const std::string& bytes) {
    CVolMem buffer;
    buffer.Append(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return buffer;
}

std::string BytesOf(const CVolMem& buffer) {
    return buffer.GetSize() == 0 ? std::string()
                                 : std::string(reinterpret_cast<const char*>(buffer.GetData()),
                                               static_cast<std::size_t>(buffer.GetSize()));
}

std::u16string DumpOf(const CVolMem& buffer, int limit) {
    CWString out;
    buffer.GetDumpText(out, limit);
    return TextOf(out);
}

std::size_t CountOf(const std::u16string& text, const std::u16string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::u16string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(CVolMem, FirstSizeAllocatesTheNextStepStrictlyAbove) {
    struct Case {
        std::int64_t step;
        std::int64_t size;
        std::int64_t capacity;
    };
    const Case cases[] = {{64, 1, 64},   {64, 10, 64}, {64, 63, 64},  {64, 64, 128}, {64, 65, 128},
                          {254, 2, 254}, {0, 10, 64},  {-5, 64, 128}, {1, 7, 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "step " << c.step << " size " << c.size);
        CVolMem buffer(c.step);
        EXPECT_NE(buffer.SetSize(c.size), nullptr);
        EXPECT_EQ(buffer.GetSize(), c.size);
        EXPECT_EQ(buffer.GetCapacity(), c.capacity);
    }
}

TEST(CVolMem, ShrinkingKeepsAtMostOneStepOfSlack) {
    struct Case {
        std::int64_t from;
        std::int64_t to;
        std::int64_t capacity;
    };
    const Case cases[] = {{200, 100, 128}, {120, 100, 128}, {250, 193, 256}, {250, 191, 192}, {250, 1, 64}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to);
        CVolMem buffer;
        buffer.SetSize(c.from);
        buffer.SetSize(c.to);
        EXPECT_EQ(buffer.GetCapacity(), c.capacity);
    }
}

TEST(CVolMem, AppendingByteByByteReallocatesOnlyPastEachStep) {
    CVolMem buffer;
    std::vector<std::int64_t> sizesThatChangedCapacity;
    std::int64_t capacity = 0;
    for (int i = 0; i < 400; ++i) {
        const unsigned char byte = static_cast<unsigned char>(i);
        buffer.Append(&byte, 1);
        if (buffer.GetCapacity() != capacity) {
            capacity = buffer.GetCapacity();
            sizesThatChangedCapacity.push_back(buffer.GetSize());
            EXPECT_EQ(capacity, (buffer.GetSize() / 64 + 1) * 64);
        }
    }
    EXPECT_EQ(sizesThatChangedCapacity, (std::vector<std::int64_t>{1, 65, 129, 193, 257, 321, 385}));
    for (int i = 0; i < 400; ++i) {
        ASSERT_EQ(buffer.GetData()[i], static_cast<unsigned char>(i));
    }
}

TEST(CVolMem, SettingTheCurrentSizeChangesNothingAndZeroFreesTheBlock) {
    CVolMem buffer;
    void* data = buffer.SetSize(40);
    EXPECT_EQ(buffer.SetSize(40), data);
    EXPECT_EQ(buffer.GetCapacity(), 64);
    EXPECT_EQ(buffer.SetSize(0), nullptr);
    EXPECT_EQ(buffer.GetData(), nullptr);
    EXPECT_EQ(buffer.GetCapacity(), 0);
    EXPECT_EQ(buffer.SetSize(-1), nullptr) << "a negative size is refused";
    EXPECT_EQ(buffer.GetSize(), 0);
}

// Copying an empty source keeps the block at size 0; emptying and resetting must still give it back.
TEST(CVolMem, EmptyAndResetReleaseABlockKeptAtSizeZero) {
    struct Case {
        const char* name;
        void (*release)(CVolMem&);
    };
    const Case cases[] = {
        {"Empty", [](CVolMem& buffer) { buffer.Empty(); }},
        {"Reset", [](CVolMem& buffer) { buffer.Reset(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CVolMem buffer = BufferOf("some bytes");
        const CVolMem emptySource;
        buffer = emptySource;
        ASSERT_EQ(buffer.GetSize(), 0);
        ASSERT_NE(buffer.GetData(), nullptr);
        c.release(buffer);
        EXPECT_EQ(buffer.GetData(), nullptr);
        EXPECT_EQ(buffer.GetCapacity(), 0);
        EXPECT_EQ(buffer.GetSize(), 0);
    }
}

TEST(CVolMem, ReserveAndSetSizeAllocatesExactlyForAnEmptyBuffer) {
    CVolMem buffer;
    EXPECT_EQ(buffer.ReserveAndSetSize(0), nullptr);
    EXPECT_EQ(buffer.GetData(), nullptr);
    EXPECT_NE(buffer.ReserveAndSetSize(100), nullptr);
    EXPECT_EQ(buffer.GetCapacity(), 100);
    EXPECT_EQ(buffer.GetSize(), 100);
}

TEST(CVolMem, RemoveRange) {
    struct Case {
        std::int64_t position;
        std::int64_t count;
        std::string left;
    };
    const Case cases[] = {
        {2, 5, "AB"}, {0, 1, "BCD"},   {1, 2, "AD"},    {3, 1, "ABC"},  {4, 1, "ABCD"},  {-1, 1, "ABC"},
        {-1, 3, "A"}, {-1, 4, "ABCD"}, {-7, 5, "ABCD"}, {0, 0, "ABCD"}, {1, -2, "ABCD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "at " << c.position << " remove " << c.count);
        CVolMem buffer = BufferOf("ABCD");
        buffer.RemoveRange(c.position, c.count);
        EXPECT_EQ(BytesOf(buffer), c.left);
    }
}

TEST(CVolMem, AppendsWideTextWithAndWithoutItsNul) {
    struct Case {
        const char16_t* text;
        std::int64_t without;
        std::int64_t with;
    };
    const Case cases[] = {{nullptr, 0, 2}, {u"", 0, 2}, {u"ab", 4, 6}, {u"文件", 4, 6}};
    for (const Case& c : cases) {
        CVolMem plain;
        plain.AppendWideText(c.text);
        EXPECT_EQ(plain.GetSize(), c.without);
        CVolMem terminated;
        terminated.AppendWideTextWithNul(c.text);
        ASSERT_EQ(terminated.GetSize(), c.with);
        EXPECT_EQ(terminated.GetData()[c.with - 1], 0);
        EXPECT_EQ(terminated.GetData()[c.with - 2], 0);
    }
}

TEST(CVolMem, AppendingItsOwnBytesSurvivesTheMove) {
    CVolMem buffer = BufferOf(std::string(60, 'x') + "end");
    buffer.Append(buffer.GetData(), buffer.GetSize());  // 63 -> 126 bytes: the block moves
    EXPECT_EQ(BytesOf(buffer), std::string(60, 'x') + "end" + std::string(60, 'x') + "end");
}

TEST(CVolMem, CopiesFlagsTagAndBytes) {
    const std::vector<std::string> samples = {"a", "ab", "abcd", "abcdefgh", "abc", std::string(300, 'z')};
    for (const std::string& bytes : samples) {
        SCOPED_TRACE(bytes.size());
        CVolMem source = BufferOf(bytes);
        source.SetTag(77);
        source.SetFlags(1);
        const CVolMem copy(source);
        EXPECT_EQ(BytesOf(copy), bytes);
        EXPECT_EQ(copy.GetTag(), 77u);
        EXPECT_TRUE(copy.IsEqual(source));
        CVolMem assigned = BufferOf("previous contents");
        EXPECT_TRUE(assigned.Assign(source));
        EXPECT_EQ(BytesOf(assigned), bytes);
        EXPECT_TRUE(assigned.IsNullObject());
        EXPECT_TRUE(assigned.Assign(assigned));
        EXPECT_EQ(BytesOf(assigned), bytes) << "assigning to itself keeps the bytes";
    }
}

TEST(CVolMem, CopyReusesABlockThatIsLargeEnough) {
    CVolMem target = BufferOf(std::string(100, 'q'));
    const unsigned char* block = target.GetData();
    const CVolMem small = BufferOf("four");
    target = small;
    EXPECT_EQ(target.GetData(), block);
    EXPECT_EQ(BytesOf(target), "four");
    const CVolMem empty;
    target = empty;
    EXPECT_EQ(target.GetSize(), 0);
    EXPECT_EQ(target.GetData(), block) << "an empty source keeps the block";
    const CVolMem large = BufferOf(std::string(100, 'r'));
    target = large;
    EXPECT_EQ(target.GetData(), block);
    EXPECT_EQ(BytesOf(target), std::string(100, 'r'));
}

TEST(CVolMem, EqualityComparesSizeAndBytes) {
    EXPECT_TRUE(BufferOf("abc").IsEqual(BufferOf("abc")));
    EXPECT_FALSE(BufferOf("abc").IsEqual(BufferOf("abd")));
    EXPECT_FALSE(BufferOf("abc").IsEqual(BufferOf("ab")));
    EXPECT_TRUE(CVolMem().IsEqual(CVolMem()));
    CVolMem tagged = BufferOf("abc");
    tagged.SetTag(1);
    EXPECT_FALSE(tagged.IsEqual(BufferOf("abc")));
}

TEST(CVolMem, DumpShowsHexAndPrintableCharactersWithAPaddedLastRow) {
    const CVolMem buffer = BufferOf(std::string("Hi! \x01\x7F\x80", 7));
    EXPECT_EQ(DumpOf(buffer, 0), u"<字节集> 总共 7 个字节:\r\n[00000000]: 48 69 21 20 01 7F 80" +
                                     std::u16string(27, u' ') + u" | Hi! ...");
}

TEST(CVolMem, DumpAboveTheLimitShowsTheLongHeaderAndOnlyTheLimit) {
    std::string bytes;
    for (int i = 0; i < 20; ++i) {
        bytes += static_cast<char>('a' + i);
    }
    const std::u16string dump = DumpOf(BufferOf(bytes), 16);
    EXPECT_EQ(dump,
              u"<字节集> 总共 20 个字节,输出了 16 个,还有 4 个未被输出.\r\n[00000000]: 61 62 63 64 65 66 67 "
              u"68 69 6A 6B 6C "
              u"6D 6E 6F 70 | abcdefghijklmnop");
}

TEST(CVolMem, DumpRowsLineUpAndCountOffsets) {
    const std::u16string dump = DumpOf(BufferOf(std::string(40, 'x')), -1);
    EXPECT_EQ(CountOf(dump, u"\r\n["), 3u);
    EXPECT_NE(dump.find(u"\r\n[00000010]:"), std::u16string::npos);
    EXPECT_NE(dump.find(u"\r\n[00000020]:"), std::u16string::npos);
    // Every row's " | " sits at the same column.
    std::vector<std::size_t> columns;
    for (std::size_t row = dump.find(u"\r\n["); row != std::u16string::npos;
         row = dump.find(u"\r\n[", row + 1)) {
        columns.push_back(dump.find(u" | ", row) - row);
    }
    EXPECT_EQ(columns, (std::vector<std::size_t>(3, 2 + 1 + 8 + 2 + 48)));
}

TEST(CVolMem, DumpLimitZeroMeans1024AndNegativeMeansAll) {
    const CVolMem buffer = BufferOf(std::string(1100, 'x'));
    const std::u16string limited = DumpOf(buffer, 0);
    EXPECT_EQ(limited.rfind(u"<字节集> 总共 1100 个字节,输出了 1024 个,还有 76 个未被输出.", 0), 0u);
    EXPECT_EQ(CountOf(limited, u"\r\n["), 64u);
    const std::u16string all = DumpOf(buffer, -1);
    EXPECT_EQ(all.rfind(u"<字节集> 总共 1100 个字节:", 0), 0u);
    EXPECT_EQ(CountOf(all, u"\r\n["), 69u);
}

TEST(CVolMem, StreamFormIsAByteCountThenTheBytes) {
    std::vector<unsigned char> bytes;
    CVolOutStream output(bytes);
    BufferOf("xyz").SaveToStream(output);
    EXPECT_EQ(bytes, (std::vector<unsigned char>{3, 0, 0, 0, 'x', 'y', 'z'}));
    CVolInStream input(bytes.data(), bytes.size());
    CVolMem loaded = BufferOf("old");
    loaded.LoadFromStream(input);
    EXPECT_EQ(input.GetStatus(), CVolStream::kGood);
    EXPECT_EQ(BytesOf(loaded), "xyz");
}

TEST(CVolMem, SavingIntoItselfAppendsItsOwnForm) {
    CVolMem buffer = BufferOf("ab");
    CVolOutStream output(buffer);
    buffer.SaveToStream(output);
    EXPECT_EQ(BytesOf(buffer), std::string("ab\x02\x00\x00\x00"
                                           "ab",
                                           8));
}

TEST(CVolMem, LoadingBadStreams) {
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        int status;
        std::string left;
    };
    const Case cases[] = {
        {"negative count", {0xFF, 0xFF, 0xFF, 0xFF, 'a'}, CVolStream::kShortRead, "old"},
        {"short count", {3, 0}, CVolStream::kShortRead, "old"},
        {"short bytes", {5, 0, 0, 0, 'a', 'b'}, CVolStream::kShortRead, ""},
        {"huge count", {0xFF, 0xFF, 0xFF, 0x7F, 'a'}, CVolStream::kShortRead, ""},
        {"zero count", {0, 0, 0, 0}, CVolStream::kGood, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CVolInStream input(c.bytes.data(), c.bytes.size());
        CVolMem buffer = BufferOf("old");
        buffer.LoadFromStream(input);
        EXPECT_EQ(input.GetStatus(), c.status);
        EXPECT_EQ(BytesOf(buffer), c.left);
    }
}

TEST(CVolMem, LoadingFromAFailedStreamDoesNothing) {
    const unsigned char bytes[] = {1, 0, 0, 0, 'z'};
    CVolInStream input(bytes, sizeof bytes);
    input.SetStatus(CVolStream::kShortRead);
    CVolMem buffer = BufferOf("old");
    buffer.LoadFromStream(input);
    EXPECT_EQ(BytesOf(buffer), "old");
}

}  // namespace
