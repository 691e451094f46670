// The out-of-memory tests ask for impossible sizes and expect the allocator to say no; under
// AddressSanitizer and ThreadSanitizer that needs allocator_may_return_null, or the sanitizer itself
// ends the process.
#if defined(__SANITIZE_ADDRESS__)
#define MORVANE_TESTS_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MORVANE_TESTS_UNDER_ASAN 1
#endif
#endif

#ifdef MORVANE_TESTS_UNDER_ASAN
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1";
}
#endif

#if defined(__SANITIZE_THREAD__)
#define MORVANE_TESTS_UNDER_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define MORVANE_TESTS_UNDER_TSAN 1
#endif
#endif

#ifdef MORVANE_TESTS_UNDER_TSAN
// A report fails the test run: the process then ends with a non-zero code.
extern "C" const char* __tsan_default_options() {
    return "allocator_may_return_null=1";
}
#endif
