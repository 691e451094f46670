#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/CVolObject.h"
#include "ui/CVolEventObjectPointer.h"

class CVolWinControl;

// The target object of the handlers bound in tests: handlers write what they saw into `entries` and
// answer `answer`. Owns one holder whose target it is; clears the target when it goes.
class EventRecorder : public CVolObject {
public:
    EventRecorder();
    ~EventRecorder() override;

    static EventRecorder& Of(CVolObject* target) { return *static_cast<EventRecorder*>(target); }

    CVolEventObjectPointer* Holder() const { return holder_; }
    void Add(std::string entry) { entries.push_back(std::move(entry)); }

    std::vector<std::string> entries;
    std::int32_t answer = 0;
    CVolWinControl* lastSender = nullptr;

private:
    CVolEventObjectPointer* holder_;
};
