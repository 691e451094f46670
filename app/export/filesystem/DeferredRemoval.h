#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Removes, later, temporary files that another program holds open without sharing their deletion: no
// call can remove or even mark such a file until that program lets go, and the system tells no one
// when it does. A thread of its own, started when the first such file comes and ended when none is
// left, tries again and again (50 ms, then twice as long each time up to 2 s between tries) for as
// long as the process runs; while someone waits for it (a process about to end), every 100 ms, so
// that the waiting ends soon after the holder lets go.
class DeferredRemoval {
public:
    // Tries to remove the file at the path: true when it is gone (or can never be removed), false while
    // another program still holds it.
    using Attempt = bool (*)(const std::u16string& path);

    explicit DeferredRemoval(Attempt attempt) : attempt_(attempt) {}
    // Stops trying at once; files still held stay.
    ~DeferredRemoval();
    DeferredRemoval(const DeferredRemoval&) = delete;
    DeferredRemoval& operator=(const DeferredRemoval&) = delete;

    // Takes a file whose removal was just refused.
    void Add(std::u16string path);
    // Waits until every file taken is gone, at most `limit`; answers those still held.
    std::vector<std::u16string> WaitUntilDone(std::chrono::milliseconds limit);

private:
    void Run();

    Attempt attempt_;
    std::mutex mutex_;
    std::condition_variable done_;
    std::vector<std::u16string> pending_;
    bool running_ = false;
    // What wakes the thread between its tries: the end of the object, or a waiter in a hurry.
    std::condition_variable wake_;
    bool stopping_ = false;
    int waiters_ = 0;
    std::thread thread_;
};
