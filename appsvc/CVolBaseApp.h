#pragma once

#include "appsvc/CVolUserApp.h"

// An application object that offers the class records of the nine boxed value classes (byte, short,
// character, int, alternative int, long, alternative long, float, double, in that order).
class CVolBaseApp : public CVolUserApp {
public:
    static inline constexpr int kClassTableSize = 9;

    // Construction
    CVolBaseApp() = default;
    CVolBaseApp(const CVolBaseApp&) = default;
    CVolBaseApp& operator=(const CVolBaseApp&) = default;
    ~CVolBaseApp() override = default;

    static const CVolClassInfo& ClassInfo();

    // Overridables
    const CVolClassInfo& GetClassInfo() const override;
    // Slot 18: the table of nine records, filled once, on the first call from any thread.
    const CVolClassInfo* const* GetClassTable() const override;
};
