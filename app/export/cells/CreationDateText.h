#pragma once

#include "runtime/CWString.h"

#include <cstdint>

// Column E: the local calendar date of a creation time as "%d年%d月%d日" (no leading zeros), such as
// "2023年7月4日". `creationTime` is UTC in 100-nanosecond ticks since 1 January 1601; `utcOffset` is the
// local offset in the same ticks (the one in force at export time, see UtcOffset.h).
//
// The date goes through the OLE Automation date functions, as every date of the program does: a time
// that cannot be converted stands as 1 January 100 ("100年1月1日").
CWString CreationDateText(std::int64_t creationTime, std::int64_t utcOffset);

// CreationDateText for the files of one export, remembering the last local day asked for: the files of
// a folder mostly share a few days, and the text of a day is the same whatever its time.
class CreationDateTextCache {
public:
    explicit CreationDateTextCache(std::int64_t utcOffset) : utcOffset_(utcOffset) {}

    const CWString& Get(std::int64_t creationTime);

private:
    std::int64_t utcOffset_;
    // The UTC ticks [dayStart_, dayEnd_) of the local day whose text is in text_; empty at first.
    std::int64_t dayStart_ = 0;
    std::int64_t dayEnd_ = 0;
    CWString text_;
};
