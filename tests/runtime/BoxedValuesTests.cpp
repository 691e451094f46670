#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "RuntimePrinters.h"
#include "runtime/BoxedValueClassTable.h"
#include "runtime/BoxedValues.h"
#include "runtime/CVolInStream.h"
#include "runtime/CVolMem.h"
#include "runtime/CVolOutStream.h"

namespace {

using vol::CVolByteValue;
using vol::CVolCharValue;
using vol::CVolDoubleValue;
using vol::CVolFloatValue;
using vol::CVolIntAltValue;
using vol::CVolIntValue;
using vol::CVolLongAltValue;
using vol::CVolLongValue;
using vol::CVolShortValue;

// Heap objects made through the pool and returned through Destroy.
struct DestroyDeleter {
    void operator()(CVolObject* object) const { DestroyObject(object); }
};
using ObjectPtr = std::unique_ptr<CVolObject, DestroyDeleter>;
using Maker = CVolObject* (*)();

std::u16string DumpOf(const CVolObject& object) {
    CWString out(u"stale text");  // the boxed values replace it
    object.GetDumpText(out, 0);
    return TextOf(out);
}

TEST(BoxedValues, TextForms) {
    struct Row {
        const char* what;
        Maker make;
        const char16_t* expected;
    };
    const Row rows[] = {
        {"byte -1", []() -> CVolObject* { return new CVolByteValue(-1); }, u"-1"},
        {"byte -128", []() -> CVolObject* { return new CVolByteValue(-128); }, u"-128"},
        {"short -32768", []() -> CVolObject* { return new CVolShortValue(-32768); }, u"-32768"},
        {"char 0", []() -> CVolObject* { return new CVolCharValue(0); }, u""},
        {"char A", []() -> CVolObject* { return new CVolCharValue(u'A'); }, u"A"},
        {"char 中", []() -> CVolObject* { return new CVolCharValue(u'中'); }, u"中"},
        {"int min", []() -> CVolObject* { return new CVolIntValue(INT32_MIN); }, u"-2147483648"},
        {"alt int 42", []() -> CVolObject* { return new CVolIntAltValue(42); }, u"42"},
        {"long min", []() -> CVolObject* { return new CVolLongValue(INT64_MIN); }, u"-9223372036854775808"},
        {"alt long max", []() -> CVolObject* { return new CVolLongAltValue(INT64_MAX); },
         u"9223372036854775807"},
        {"float 0.0000005", []() -> CVolObject* { return new CVolFloatValue(0.0000005f); }, u"0"},
        {"float 0.1", []() -> CVolObject* { return new CVolFloatValue(0.1f); }, u"0.1"},
        {"float -2.5", []() -> CVolObject* { return new CVolFloatValue(-2.5f); }, u"-2.5"},
        {"double 0.1", []() -> CVolObject* { return new CVolDoubleValue(0.1); }, u"0.1"},
        {"double 1e20", []() -> CVolObject* { return new CVolDoubleValue(1e20); }, u"1E+20"},
        {"double -0.0000009", []() -> CVolObject* { return new CVolDoubleValue(-0.0000009); }, u"0"},
        {"double 0.000002", []() -> CVolObject* { return new CVolDoubleValue(0.000002); }, u"2E-06"},
    };
    for (const Row& row : rows) {
        ObjectPtr object(row.make());
        EXPECT_EQ(DumpOf(*object), row.expected) << row.what;
    }
}

TEST(BoxedValues, EqualityComparesClassFlagsTagAndValue) {
    struct Row {
        const char* what;
        Maker left;
        Maker right;
        bool equal;
    };
    const Row rows[] = {
        {"double within 1e-6", []() -> CVolObject* { return new CVolDoubleValue(1.0); },
         []() -> CVolObject* { return new CVolDoubleValue(1.0000009); }, true},
        {"double beyond 1e-6", []() -> CVolObject* { return new CVolDoubleValue(1.0); },
         []() -> CVolObject* { return new CVolDoubleValue(1.000002); }, false},
        {"double beyond 1e-6 below", []() -> CVolObject* { return new CVolDoubleValue(1.0); },
         []() -> CVolObject* { return new CVolDoubleValue(0.999998); }, false},
        {"float within 1e-6", []() -> CVolObject* { return new CVolFloatValue(1.0f); },
         []() -> CVolObject* { return new CVolFloatValue(1.0000009f); }, true},
        {"float beyond 1e-6", []() -> CVolObject* { return new CVolFloatValue(1.0f); },
         []() -> CVolObject* { return new CVolFloatValue(1.000002f); }, false},
        {"equal infinities",
         []() -> CVolObject* { return new CVolDoubleValue(std::numeric_limits<double>::infinity()); },
         []() -> CVolObject* { return new CVolDoubleValue(std::numeric_limits<double>::infinity()); }, true},
        {"long exact", []() -> CVolObject* { return new CVolLongValue(INT64_MAX); },
         []() -> CVolObject* { return new CVolLongValue(INT64_MAX - 1); }, false},
        {"char exact", []() -> CVolObject* { return new CVolCharValue(u'a'); },
         []() -> CVolObject* { return new CVolCharValue(u'a'); }, true},
        {"int against alt int", []() -> CVolObject* { return new CVolIntValue(5); },
         []() -> CVolObject* { return new CVolIntAltValue(5); }, false},
        {"long against alt long", []() -> CVolObject* { return new CVolLongAltValue(5); },
         []() -> CVolObject* { return new CVolLongValue(5); }, false},
        {"float against double", []() -> CVolObject* { return new CVolFloatValue(1.0f); },
         []() -> CVolObject* { return new CVolDoubleValue(1.0); }, false},
        {"int against a string", []() -> CVolObject* { return new CVolIntValue(0); },
         []() -> CVolObject* { return new CWString(); }, false},
    };
    for (const Row& row : rows) {
        ObjectPtr left(row.left());
        ObjectPtr right(row.right());
        EXPECT_EQ(left->IsEqual(*right), row.equal) << row.what;
        EXPECT_EQ(right->IsEqual(*left), row.equal) << row.what << " (reversed)";
    }
}

TEST(BoxedValues, EqualityNeedsTheSameNullFlagAndTag) {
    CVolIntValue plain(7);
    CVolIntValue tagged(7);
    tagged.SetTag(3);
    CVolIntValue nulled(7);
    nulled.SetNullObject(true);
    CVolIntValue otherFlagBits(7);
    otherFlagBits.SetFlags(4);  // only bit 0 takes part
    EXPECT_FALSE(plain.IsEqual(tagged));
    EXPECT_FALSE(plain.IsEqual(nulled));
    EXPECT_TRUE(plain.IsEqual(otherFlagBits));
}

TEST(BoxedValues, AssignCopiesFlagsTagAndValue) {
    CVolDoubleValue source(2.5);
    source.SetFlags(1);
    source.SetTag(99);
    CVolDoubleValue target(-1.0);
    ASSERT_TRUE(target.Assign(source));
    EXPECT_EQ(target.GetValue(), 2.5);
    EXPECT_EQ(target.GetFlags(), 1u);
    EXPECT_EQ(target.GetTag(), 99u);
}

TEST(BoxedValues, AssignBetweenTwinClassesFailsAndChangesNothing) {
    CVolIntValue intValue(1);
    intValue.SetTag(11);
    CVolIntAltValue altValue(2);
    altValue.SetTag(22);
    EXPECT_FALSE(intValue.Assign(altValue));
    EXPECT_FALSE(altValue.Assign(intValue));
    EXPECT_EQ(intValue.GetValue(), 1);
    EXPECT_EQ(intValue.GetTag(), 11u);
    EXPECT_EQ(altValue.GetValue(), 2);

    CVolLongValue longValue(3);
    CVolLongAltValue altLong(4);
    EXPECT_FALSE(longValue.Assign(altLong));
    EXPECT_FALSE(altLong.Assign(longValue));
    EXPECT_EQ(longValue.GetValue(), 3);

    CVolBaseDataType base;
    EXPECT_FALSE(intValue.Assign(base)) << "the base is not a kind of int value";
}

TEST(BoxedValues, ResetZeroesFlagsTagAndValue) {
    CVolShortValue value(-5);
    value.SetFlags(1);
    value.SetTag(8);
    value.Reset();
    EXPECT_EQ(value.GetValue(), 0);
    EXPECT_EQ(value.GetFlags(), 0u);
    EXPECT_EQ(value.GetTag(), 0u);
}

TEST(BoxedValues, CloneKeepsClassAndValue) {
    CVolLongAltValue original(-77);
    original.SetTag(5);
    ObjectPtr copy(original.Clone());
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->GetClassInfo().Matches(CVolLongAltValue::ClassInfo()));
    EXPECT_TRUE(copy->IsEqual(original));
}

TEST(BoxedValues, ValueAddressReachesTheRawValue) {
    CVolIntValue value(1);
    CVolBaseDataType& base = value;
    auto* raw = static_cast<std::int32_t*>(base.GetValueAddress());
    ASSERT_NE(raw, nullptr);
    *raw = 12345;
    EXPECT_EQ(value.GetValue(), 12345);

    CVolBaseDataType plainBase;
    EXPECT_EQ(plainBase.GetValueAddress(), nullptr);
}

TEST(BoxedValues, ClassTableListsTheNineRecordsInOrder) {
    const char* const names[] = {
        "vol::CVolByteValue",    "vol::CVolShortValue",  "vol::CVolCharValue",
        "vol::CVolIntValue",     "vol::CVolIntAltValue", "vol::CVolLongValue",
        "vol::CVolLongAltValue", "vol::CVolFloatValue",  "vol::CVolDoubleValue",
    };
    const auto& table = BoxedValueClassTable();
    ASSERT_EQ(table.size(), std::size(names));
    for (std::size_t i = 0; i < table.size(); ++i) {
        ASSERT_NE(table[i], nullptr) << i;
        EXPECT_STREQ(table[i]->GetName(), names[i]);
        EXPECT_TRUE(table[i]->IsKindOf(CVolBaseDataType::ClassInfo())) << names[i];
        for (std::size_t j = 0; j < table.size(); ++j) {
            EXPECT_EQ(table[i]->Matches(*table[j]), i == j) << names[i] << " vs " << names[j];
        }
        ObjectPtr made(table[i]->GetCreator()());
        EXPECT_TRUE(made->GetClassInfo().Matches(*table[i])) << names[i];
    }
    EXPECT_STREQ(CVolBaseDataType::ClassInfo().GetName(), "CVolBaseDataType");
}

// Stream forms: exactly the raw bytes in machine (little-endian) order.
template <class Value>
void ExpectStreamRoundTrip(typename Value::RawType raw, std::size_t expectedSize) {
    SCOPED_TRACE(Value::kClassName);
    const Value original(raw);
    std::vector<unsigned char> bytes;
    CVolOutStream output(bytes);
    original.SaveToStream(output);
    ASSERT_EQ(output.GetStatus(), 0);
    ASSERT_EQ(bytes.size(), expectedSize);
    EXPECT_EQ(std::memcmp(bytes.data(), &raw, expectedSize), 0);

    // One trailing byte: a load takes only its own bytes.
    bytes.push_back(0xAB);
    CVolInStream input(bytes.data(), bytes.size());
    Value loaded;
    loaded.LoadFromStream(input);
    EXPECT_EQ(input.GetStatus(), 0);
    EXPECT_EQ(input.GetRemaining(), 1u);
    EXPECT_TRUE(loaded.IsEqual(original));

    // One byte short: status -3 and the value stays.
    CVolInStream shortInput(bytes.data(), expectedSize - 1);
    Value target;
    target.LoadFromStream(shortInput);
    EXPECT_EQ(shortInput.GetStatus(), CVolStream::kShortRead);
    EXPECT_EQ(target.GetValue(), typename Value::RawType{});
}

TEST(BoxedValues, StreamFormIsTheRawBytes) {
    ExpectStreamRoundTrip<CVolByteValue>(-2, 1);
    ExpectStreamRoundTrip<CVolShortValue>(-300, 2);
    ExpectStreamRoundTrip<CVolCharValue>(u'中', 2);
    ExpectStreamRoundTrip<CVolIntValue>(0x12345678, 4);
    ExpectStreamRoundTrip<CVolIntAltValue>(-1, 4);
    ExpectStreamRoundTrip<CVolLongValue>(0x0102030405060708LL, 8);
    ExpectStreamRoundTrip<CVolLongAltValue>(INT64_MIN, 8);
    ExpectStreamRoundTrip<CVolFloatValue>(3.25f, 4);
    ExpectStreamRoundTrip<CVolDoubleValue>(-1e-300, 8);
}

TEST(BoxedValues, StreamsInErrorAreLeftAlone) {
    const unsigned char bytes[] = {1, 2, 3, 4};
    CVolInStream input(bytes, sizeof bytes);
    input.SetStatus(CVolStream::kWriteFailed);
    CVolIntValue value(9);
    value.LoadFromStream(input);
    EXPECT_EQ(value.GetValue(), 9);
    EXPECT_EQ(input.GetRemaining(), sizeof bytes);

    CVolMem target;
    CVolOutStream output(target);
    output.SetStatus(CVolStream::kShortRead);
    value.SaveToStream(output);
    EXPECT_EQ(target.GetSize(), 0);
    EXPECT_EQ(output.GetStatus(), CVolStream::kShortRead);
}

}  // namespace
