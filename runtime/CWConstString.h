#pragma once

#include "runtime/CWString.h"

// A string standing for a constant literal without copying it. The literal must outlive the object.
// Its Assign accepts only CWConstString sources and its IsEqual only CWConstString partners (the class
// records must match); every other operation is the CWString one, so a change makes it owned.
class CWConstString : public CWString {
public:
    // Construction
    CWConstString() = default;  // the empty string, no literal
    explicit CWConstString(const char16_t* literal) { ViewLiteral(literal); }
    CWConstString(const CWConstString& other) = default;
    CWConstString& operator=(const CWConstString& other) = default;

    static const CVolClassInfo& ClassInfo();

    // Overridables
    const CVolClassInfo& GetClassInfo() const override;
};
