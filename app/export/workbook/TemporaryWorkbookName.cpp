#include "app/export/workbook/TemporaryWorkbookName.h"

#include "app/export/filesystem/FilePath.h"
#include "app/export/filesystem/PathChecks.h"

#include <atomic>
#include <chrono>
#include <cstdint>

namespace {

inline constexpr char16_t kPrefix[] = u"~文件清单_";
inline constexpr char16_t kSuffix[] = u".tmp";
inline constexpr std::size_t kDigits = 8;
inline constexpr int kNameAttempts = 16;

bool IsHexDigit(char16_t unit) {
    return (unit >= u'0' && unit <= u'9') || (unit >= u'A' && unit <= u'F') || (unit >= u'a' && unit <= u'f');
}

// splitmix64 step: spreads the clock and the sequence over all digits.
std::uint64_t Mix(std::uint64_t value) {
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

}  // namespace

bool IsTemporaryWorkbookName(std::u16string_view name) {
    const std::u16string_view prefix(kPrefix);
    const std::u16string_view suffix(kSuffix);
    if (name.size() != prefix.size() + kDigits + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix)) {
        return false;
    }
    for (std::size_t i = prefix.size(); i < prefix.size() + kDigits; ++i) {
        if (!IsHexDigit(name[i])) {
            return false;
        }
    }
    return true;
}

std::u16string TemporaryWorkbookPath(std::u16string_view folder) {
    static std::atomic<std::uint64_t> sequence{0};
    const auto seed = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::u16string path;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::uint64_t value = Mix(seed + 0x9E3779B97F4A7C15ull * (sequence.fetch_add(1) + 1));
        path.assign(folder);
        path += PathSeparator();
        path += kPrefix;
        for (int digit = static_cast<int>(kDigits) - 1; digit >= 0; --digit) {
            path += u"0123456789ABCDEF"[(value >> (digit * 4)) & 0xF];
        }
        path += kSuffix;
        if (!PathExists(path)) {
            break;
        }
    }
    return path;
}
