#pragma once

#include <type_traits>

// The one form a thread-local variable takes in this program: `thread_local ThreadLocal<T> name;`, for
// pointers and plain numbers only. Our Windows toolchain emulates thread-local storage and frees a
// thread's storage before the destructors of its objects run, so an object with a destructor would be
// destroyed in freed memory at every thread's end. State with a lifetime belongs to whoever owns the
// thread's work (the writer, the creating call) and is passed on explicitly; scripts/check-thread-locals
// refuses any other `thread_local`.
template <typename T>
class ThreadLocal {
    static_assert(std::is_trivially_destructible_v<T>,
                  "a thread-local object must not need a destructor: its storage is gone before it runs");

public:
    constexpr ThreadLocal() = default;
    constexpr explicit ThreadLocal(T initial) : value_(initial) {}

    T Get() const { return value_; }
    void Set(T value) { value_ = value; }

private:
    T value_{};
};
