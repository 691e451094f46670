#pragma once

#include "runtime/CVolClassInfo.h"
#include "runtime/CVolObject.h"

// The application object. Constructing one (directly, by CreateNew or by Clone) makes it the
// application instance's current application object; destroying the current one clears that entry.
class CVolUserApp : public CVolObject {
public:
    // Construction
    CVolUserApp();
    CVolUserApp(const CVolUserApp& other);
    CVolUserApp& operator=(const CVolUserApp&) = default;
    ~CVolUserApp() override;

    static const CVolClassInfo& ClassInfo();

    // Overridables
    const CVolClassInfo& GetClassInfo() const override;
    // Slot 18: the class records this application offers; none here.
    virtual const CVolClassInfo* const* GetClassTable() const;
};
