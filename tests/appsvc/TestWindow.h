#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "appsvc/Win32Api.h"

// A plain Win32 window for the tests: records what it receives and lets a test answer messages.
// It is not visible, so it generates no painting of its own.
class TestWindow {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    // A test's own handling; no value means "handle as usual".
    using Handler = std::function<std::optional<LRESULT>(UINT message, WPARAM wParam, LPARAM lParam)>;

    // `marked` puts FRAMEWORK_MAGIC in the user-data word, as framework windows carry it.
    explicit TestWindow(bool marked, HWND parent = nullptr, DWORD style = WS_OVERLAPPED);
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow();

    HWND Handle() const { return handle_; }
    void Destroy();

    // What VM_PRETRANSLATE answers (FRAMEWORK_MAGIC takes the message).
    LRESULT preTranslateAnswer = 0;
    // The message numbers offered through VM_PRETRANSLATE, in order.
    std::vector<UINT> offered;
    // Every other message received, in order.
    std::vector<Message> received;
    Handler handler;

    bool HasReceived(UINT message) const;
    bool WasOffered(UINT message) const;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND handle_ = nullptr;
};

// Removes every message waiting in the calling thread's queue.
void DrainThreadQueue();
