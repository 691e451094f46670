// CMStringArray::Split on fuzzed text and delimiter sets. Checks: the element count is one more than
// the number of delimiters in non-empty text (none for empty text), no element starts or ends with a
// unit below 33 or U+3000, the elements laid end to end are a subsequence of the text, and each element
// is exactly its trimmed piece.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/CMStringArray.h"

namespace {

inline constexpr char16_t kIdeographicSpace = 0x3000;

// Units the fuzzer reaches with one byte: bytes up to 0xEF stand for themselves (controls, spaces,
// ASCII, Latin-1); the last sixteen stand for units from the rest of the range.
inline constexpr char16_t kWideUnits[16] = {
    0x3000, 0x3000, 0x4E2D, 0x6587, 0xD800, 0xDC00, 0xFEFF, 0xFFFF,
    0x0100, 0x2028, 0x00A0, 0x3001, 0xFF0C, 0x8000, 0x7FFF, 0x0085,
};

char16_t UnitOf(std::uint8_t byte) {
    return byte < 0xF0 ? byte : kWideUnits[byte - 0xF0];
}

bool IsTrimmed(char16_t unit) {
    return unit < 33 || unit == kIdeographicSpace;
}

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::u16string_view Trim(std::u16string_view piece) {
    while (!piece.empty() && IsTrimmed(piece.front())) {
        piece.remove_prefix(1);
    }
    while (!piece.empty() && IsTrimmed(piece.back())) {
        piece.remove_suffix(1);
    }
    return piece;
}

}  // namespace

// Layout: one byte giving the number of delimiter units (0 to 7), those units, then the text. A NUL
// ends the delimiter set or the text early, as it would for the caller.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::size_t position = 1;
    std::u16string delimiters;
    for (std::size_t n = data[0] % 8; n > 0 && position < size; --n) {
        delimiters.push_back(UnitOf(data[position++]));
    }
    std::u16string text;
    for (; position < size; ++position) {
        text.push_back(UnitOf(data[position]));
    }
    delimiters.resize(std::u16string_view(delimiters.c_str()).size());
    text.resize(std::u16string_view(text.c_str()).size());

    CMStringArray pieces;
    const std::int64_t count = pieces.Split(text.c_str(), delimiters.c_str());
    Require(count == pieces.GetCount());
    if (text.empty()) {
        Require(count == 0);
        return 0;
    }

    std::int64_t delimiterCount = 0;
    for (char16_t unit : text) {
        delimiterCount += delimiters.find(unit) != std::u16string::npos ? 1 : 0;
    }
    Require(count == delimiterCount + 1);

    std::size_t pieceStart = 0;
    std::size_t searchFrom = 0;  // for the subsequence test
    for (std::int64_t i = 0; i < count; ++i) {
        const std::u16string_view element(pieces.GetAt(i));
        Require(element.empty() || (!IsTrimmed(element.front()) && !IsTrimmed(element.back())));

        for (char16_t unit : element) {
            searchFrom = text.find(unit, searchFrom);
            Require(searchFrom != std::u16string::npos);
            ++searchFrom;
        }

        std::size_t pieceEnd = text.find_first_of(delimiters, pieceStart);
        if (pieceEnd == std::u16string::npos || delimiters.empty()) {
            pieceEnd = text.size();
        }
        Require(element == Trim(std::u16string_view(text).substr(pieceStart, pieceEnd - pieceStart)));
        pieceStart = pieceEnd + 1;
    }
    return 0;
}
