#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#include "app/entry/MainApp.h"
#include "app/entry/ProgramEntry.h"
#include "app/export/filesystem/FileOperations.h"
#include "runtime/CVolException.h"
#include "runtime/CWString.h"
#include "tests/app/ProcessRun.h"
#include "tests/app/TempTree.h"

// The start-up runs in a child process (a death test): the catcher ends the process. A thread of the
// parent waits for the child's window, reads it and answers it, as a user would.

namespace {

// An application whose main form throws while its window is being created: the form's Created event,
// raised right after the six controls were made, throws.
template <class Thrower>
class ThrowingApp : public MainApp {
public:
    ThrowingApp() : holder_(new CVolEventObjectPointer(this)) {
        MainForm& form = GetMainForm();
        form.BindEvent(form.ContainerCreatedEvent(), &ThrowingApp::Throw, holder_);
    }
    ~ThrowingApp() override {
        holder_->ClearTarget();
        holder_->Release();
    }

    static const CVolClassInfo& ClassInfo() {
        static const CVolClassInfo info(Thrower::kName, &MainApp::ClassInfo(), &CreateVolObject<ThrowingApp>);
        return info;
    }
    const CVolClassInfo& GetClassInfo() const override { return ClassInfo(); }

private:
    static std::int32_t Throw(CVolObject*, CVolWinControl*, std::uint32_t) {
        Thrower::Throw();
        return 0;
    }

    CVolEventObjectPointer* holder_;
};

struct ThrowsVolException {
    static constexpr const char* kName = "ThrowsVolException";
    static void Throw() { throw CVolException(5, u"abc"); }
};

struct ThrowsStandardException {
    static constexpr const char* kName = "ThrowsStandardException";
    static void Throw() { throw std::length_error("vector too long"); }
};

// Watches for a visible top-level window of another process (the child) with the given class and
// caption; records its message text (a message box's static text, id 0xFFFF) and posts `message` to it,
// as a user pressing OK or closing the window would.
class WindowWatcher {
public:
    WindowWatcher(const wchar_t* className, const wchar_t* caption, UINT message, WPARAM wParam)
        : className_(className), caption_(caption), message_(message), wParam_(wParam), thread_([this] {
              Watch();
          }) {}
    ~WindowWatcher() { Stop(); }

    void Stop() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    int WindowsSeen() const { return seen_; }
    std::u16string Text() {
        std::lock_guard<std::mutex> lock(mutex_);
        return text_;
    }

private:
    HWND Find() const {
        HWND window = nullptr;
        while ((window = FindWindowExW(nullptr, window, className_, caption_)) != nullptr) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process != GetCurrentProcessId() && IsWindowVisible(window)) {
                return window;
            }
        }
        return nullptr;
    }

    static std::u16string MessageOf(HWND window) {
        wchar_t text[512] = {};
        DWORD_PTR length = 0;
        if (HWND message = GetDlgItem(window, 0xFFFF)) {
            SendMessageTimeoutW(message, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 10000,
                                &length);
        }
        return std::u16string(reinterpret_cast<const char16_t*>(text), length);
    }

    void Watch() {
        while (!stop_) {
            if (HWND window = Find()) {
                ++seen_;
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    text_ = MessageOf(window);
                }
                PostMessageW(window, message_, wParam_, 0);
                for (int i = 0; i < 200 && IsWindow(window); ++i) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    const wchar_t* className_;
    const wchar_t* caption_;
    UINT message_;
    WPARAM wParam_;
    std::atomic<bool> stop_{false};
    std::atomic<int> seen_{0};
    std::mutex mutex_;
    std::u16string text_;
    std::thread thread_;
};

TEST(ProgramEntryDeathTest, VolExceptionDuringStartUpShowsCodeAndDescriptionAndEndsWithMinusOne) {
    WindowWatcher watcher(L"#32770", L"运行时异常", WM_COMMAND, IDOK);
    EXPECT_EXIT(RunProgram(nullptr, ThrowingApp<ThrowsVolException>::ClassInfo()),
                testing::ExitedWithCode(-1), "");
    watcher.Stop();
    EXPECT_EQ(watcher.WindowsSeen(), 1);
    EXPECT_EQ(watcher.Text(), u"俘获到异常,代码值为: 5, 描述为: abc");
}

TEST(ProgramEntryDeathTest, OtherExceptionDuringStartUpShowsTheUnmanagedTextAndEndsWithMinusOne) {
    WindowWatcher watcher(L"#32770", L"运行时异常", WM_COMMAND, IDOK);
    EXPECT_EXIT(RunProgram(nullptr, ThrowingApp<ThrowsStandardException>::ClassInfo()),
                testing::ExitedWithCode(-1), "");
    watcher.Stop();
    EXPECT_EQ(watcher.WindowsSeen(), 1);
    EXPECT_EQ(watcher.Text(), u"程序在运行时抛出了未被管理的异常");
}

TEST(ProgramEntryDeathTest, ApplicationObjectOfAnotherClassEndsWithMinusOneWithoutAMessage) {
    const struct {
        const char* what;
        const CVolClassInfo* record;
    } rows[] = {
        {"not an application", &CWString::ClassInfo()},
        {"an application, but not this program's", &CVolWinApp::ClassInfo()},
        {"a record without a creator", &CVolWinContainer::ClassInfo()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        WindowWatcher watcher(L"#32770", L"运行时异常", WM_COMMAND, IDOK);
        EXPECT_EXIT(RunProgram(nullptr, *row.record), testing::ExitedWithCode(-1), "");
        watcher.Stop();
        EXPECT_EQ(watcher.WindowsSeen(), 0);
    }
}

TEST(ProgramEntryDeathTest, ClosingTheMainWindowEndsTheProgramWithZero) {
    WindowWatcher watcher(nullptr, L"Morvane - 免费 绿色 极速", WM_CLOSE, 0);
    EXPECT_EXIT(std::exit(RunProgram(nullptr, MainApp::ClassInfo())), testing::ExitedWithCode(0), "");
    watcher.Stop();
    EXPECT_EQ(watcher.WindowsSeen(), 1);
}

// After its window has closed, the program stays (a few seconds at most) until a temporary file of an
// export that another program, a scanner, still held is gone: nothing is left in the user's folder.
TEST(ProgramEntryDeathTest, ClosingTheWindowWaitsUntilAHeldTemporaryFileIsGone) {
    TempTree tree;
    const std::u16string name = u"~文件清单_0123ABCD.tmp";
    // Holds the file, once it is made, for four seconds: longer than the window takes to open and close,
    // shorter than the program waits.
    FileHolder scanner(tree.Root(), u"~文件清单_*.tmp", 4000);
    WindowWatcher watcher(nullptr, L"Morvane - 免费 绿色 极速", WM_CLOSE, 0);
    EXPECT_EXIT(
        {
            tree.WriteFile(name, "left by an export");
            if (!scanner.WaitUntilHolding(60000)) {
                std::exit(2);
            }
            RemoveTemporaryFile(tree.Path(name));  // the scanner holds it: removed once it lets go
            if (!tree.Exists(name)) {
                std::exit(3);
            }
            const int code = RunProgram(nullptr, MainApp::ClassInfo());
            std::exit(code != 0 ? 4 : tree.Exists(name) ? 5 : 0);
        },
        testing::ExitedWithCode(0), "");
    watcher.Stop();
}

// Refuses every window the calling thread tries to make, as a system out of window resources would.
LRESULT CALLBACK RefuseWindowCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(ProgramEntryDeathTest, MainWindowThatCannotBeMadeEndsWithZeroWithoutALoop) {
    WindowWatcher watcher(nullptr, L"Morvane - 免费 绿色 极速", WM_CLOSE, 0);
    EXPECT_EXIT(
        {
            SetWindowsHookExW(WH_CBT, &RefuseWindowCreation, nullptr, GetCurrentThreadId());
            // A loop run without a main window would never end: leave with a code of our own instead.
            std::thread([] {
                std::this_thread::sleep_for(std::chrono::seconds(30));
                std::_Exit(7);
            }).detach();
            std::exit(RunProgram(nullptr, MainApp::ClassInfo()));
        },
        testing::ExitedWithCode(0), "");
    watcher.Stop();
    EXPECT_EQ(watcher.WindowsSeen(), 0);
}

}  // namespace
