#include "ui/EventSlot.h"

#include <immintrin.h>

EventSlotBase::~EventSlotBase() {
    ReleaseObject(holder_);
}

bool EventSlotBase::IsBound() const {
    return holder_ != nullptr && handler_ != nullptr;
}

// Taken by an atomic decrement that must reach 0; otherwise wait while the word is not positive.
void EventSlotBase::Lock() {
    while (lock_.fetch_sub(1, std::memory_order_acquire) != 1) {
        while (lock_.load(std::memory_order_relaxed) <= 0) {
            _mm_pause();
        }
    }
}

void EventSlotBase::BindErased(ErasedHandler handler, CVolEventObjectPointer* holder) {
    CVolEventObjectPointer* replaced = nullptr;
    Lock();
    extraValue_ = 0;
    if (holder == nullptr) {
        replaced = holder_;
        handler_ = nullptr;
        holder_ = nullptr;
    } else {
        handler_ = handler;
        if (holder != holder_) {
            holder->AddRef();
            replaced = holder_;
            holder_ = holder;
        }
    }
    Unlock();
    ReleaseObject(replaced);
}

EventSlotBase::Binding EventSlotBase::AcquireBinding() {
    Lock();
    Binding binding{handler_, extraValue_, holder_};
    if (binding.holder != nullptr) {
        binding.holder->AddRef();
    }
    Unlock();
    return binding;
}
