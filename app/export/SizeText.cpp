#include "app/export/SizeText.h"

namespace {

inline constexpr std::int64_t kBytesPerUnit = 1000;

}  // namespace

CWString SizeText(std::int64_t bytes) {
    std::int64_t units = bytes / kBytesPerUnit;
    CWString text;
    if (units == 0) {
        text.SetText(u"0KB");
    } else {
        text.Format(u"%.15GKB", static_cast<double>(units));
    }
    return text;
}
