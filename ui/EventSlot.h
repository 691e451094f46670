#pragma once

#include <atomic>
#include <cstdint>

#include "ui/CVolEventObjectPointer.h"

class CVolObject;
class CVolWinControl;

// One binding of one event of a control: the handler, the holder of its target and an extra value,
// guarded by a spin lock (1 = free, 0 = held).
//
// EventSlotBase is the untyped part (storage, lock, binding and the reference protocol); EventSlot
// fixes the argument list of the event, so that a handler can only be bound where it is raised with
// the arguments it expects. Both have the same layout.
class EventSlotBase {
public:
    // Construction
    EventSlotBase() = default;
    EventSlotBase(const EventSlotBase&) = delete;
    EventSlotBase& operator=(const EventSlotBase&) = delete;
    // Releases the holder reference.
    ~EventSlotBase();

    // Attributes
    bool IsBound() const;
    CVolEventObjectPointer* GetHolder() const { return holder_; }
    std::uint32_t GetExtraValue() const { return extraValue_; }

    // Operations
    void Unbind() { BindErased(nullptr, nullptr); }

protected:
    // Handlers are stored without their type; EventSlot casts back to the exact type it was given.
    using ErasedHandler = void (*)();

    struct Binding {
        ErasedHandler handler = nullptr;
        std::uint32_t extraValue = 0;
        CVolEventObjectPointer* holder = nullptr;  // one reference owned by the Binding's user
    };

    // Stores handler and holder (a null holder unbinds). The extra value becomes 0. A holder already
    // in the slot keeps its one reference; a replaced holder is released after the lock is left.
    void BindErased(ErasedHandler handler, CVolEventObjectPointer* holder);
    // Reads the binding under the lock and takes a reference on the holder (when there is one).
    Binding AcquireBinding();

private:
    void Lock();
    void Unlock() { lock_.store(1, std::memory_order_release); }

    std::atomic<std::int64_t> lock_{1};
    ErasedHandler handler_ = nullptr;
    CVolEventObjectPointer* holder_ = nullptr;
    std::uint32_t extraValue_ = 0;
};

// An event raised with the arguments Args. Handlers are plain functions:
//
//     std::int32_t OnClicked(CVolObject* target, CVolWinControl* sender, std::uint32_t extraValue);
//
// and run only while their target is alive (see CVolEventObjectPointer).
template <class... Args>
class EventSlot : public EventSlotBase {
public:
    using Handler = std::int32_t (*)(CVolObject* target, CVolWinControl* sender, std::uint32_t extraValue,
                                     Args... args);

    // Binding of the slot alone; controls bind through CVolWinControl::BindEvent, which also attaches
    // the control's listener to its window.
    void Bind(Handler handler, CVolEventObjectPointer* holder) {
        BindErased(reinterpret_cast<ErasedHandler>(handler), holder);
    }

    // The handler's result, or 0 when no handler ran (unbound, target gone or busy).
    std::int32_t Raise(CVolWinControl* sender, Args... args) {
        std::int32_t result = 0;
        TryRaise(result, sender, args...);
        return result;
    }

    // As Raise, but says whether a handler ran, for events whose "no answer" differs from 0.
    bool TryRaise(std::int32_t& result, CVolWinControl* sender, Args... args) {
        const Binding binding = AcquireBinding();
        if (binding.holder == nullptr) {
            return false;
        }
        const HolderReference holderReference{binding.holder};
        CVolObject* target = binding.handler != nullptr ? binding.holder->BeginCall() : nullptr;
        if (target == nullptr) {
            return false;
        }
        const CallScope scope{binding.holder};
        result = reinterpret_cast<Handler>(binding.handler)(target, sender, binding.extraValue, args...);
        return true;
    }

private:
    // Close the call and drop the reference even when a handler throws, so the target's teardown
    // never waits for a call that has already left.
    struct HolderReference {
        CVolEventObjectPointer* holder;
        ~HolderReference() { holder->Release(); }
    };
    struct CallScope {
        CVolEventObjectPointer* holder;
        ~CallScope() { holder->EndCall(); }
    };
};
