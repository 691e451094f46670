#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestWindow.h"
#include "appsvc/CVolWindowProcFilters.h"
#include "appsvc/FrameworkMessages.h"

namespace {

// Logs the messages it sees as "name:message" and handles one message number with a fixed answer.
class RecordingFilter : public IWindowProcFilter {
public:
    RecordingFilter(std::vector<std::string>& log, std::string name, UINT handles = 0, LRESULT answer = 0)
        : log_(log), name_(std::move(name)), handles_(handles), answer_(answer) {}

    std::function<void()> onFilter;

    int Filter(HWND, UINT message, WPARAM, LPARAM, LRESULT* result) override {
        log_.push_back(name_ + ":" + std::to_string(message));
        if (onFilter) {
            onFilter();
        }
        if (handles_ != 0 && message == handles_) {
            *result = answer_;
            return 1;
        }
        return 0;
    }

private:
    std::vector<std::string>& log_;
    std::string name_;
    UINT handles_;
    LRESULT answer_;
};

// A stand-in for a framework window procedure: the filter chain's common step, then the default.
class FilteredWindow {
public:
    FilteredWindow() : window_(false), handle_(window_.Handle()) {
        window_.handler = [this](UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
            LRESULT result = 0;
            if (filters.ProcessMessage(handle_, message, wParam, lParam, result)) {
                return result;
            }
            return std::nullopt;
        };
    }
    HWND Handle() const { return handle_; }
    void Destroy() { window_.Destroy(); }

    CVolWindowProcFilters filters;

private:
    TestWindow window_;
    HWND handle_;  // kept through WM_NCDESTROY, when the test window has let go of its own
};

HWND SomeWindow() {
    return GetDesktopWindow();
}

}  // namespace

TEST(CVolWindowProcFilters, LastAddedSeesEachMessageFirst) {
    std::vector<std::string> log;
    RecordingFilter first(log, "first");
    RecordingFilter second(log, "second");
    CVolWindowProcFilters filters;
    filters.AddFilter(&first);
    filters.AddFilter(&second);
    LRESULT result = 0;

    EXPECT_EQ(filters.RunFilters(SomeWindow(), WM_APP, 0, 0, &result), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"second:32768", "first:32768"}));
}

TEST(CVolWindowProcFilters, HandlingFilterHidesTheMessageFromOlderFilters) {
    std::vector<std::string> log;
    RecordingFilter older(log, "older");
    RecordingFilter newer(log, "newer", WM_APP, 77);
    CVolWindowProcFilters filters;
    filters.AddFilter(&older);
    filters.AddFilter(&newer);
    LRESULT result = 0;

    EXPECT_EQ(filters.RunFilters(SomeWindow(), WM_APP, 0, 0, &result), 1);
    EXPECT_EQ(result, 77);
    EXPECT_EQ(log, std::vector<std::string>{"newer:32768"});
}

TEST(CVolWindowProcFilters, AddingTheSameFilterTwiceKeepsOneNode) {
    std::vector<std::string> log;
    RecordingFilter filter(log, "f");
    CVolWindowProcFilters filters;
    filters.AddFilter(&filter);
    filters.AddFilter(&filter);
    filters.AddFilter(nullptr);
    LRESULT result = 0;
    filters.RunFilters(SomeWindow(), WM_APP, 0, 0, &result);

    EXPECT_EQ(filters.GetCount(), 1);
    EXPECT_EQ(log.size(), 1u);
}

TEST(CVolWindowProcFilters, RemovalReportsWhetherTheFilterWasThere) {
    std::vector<std::string> log;
    RecordingFilter kept(log, "kept");
    RecordingFilter removed(log, "removed");
    RecordingFilter stranger(log, "stranger");
    CVolWindowProcFilters filters;
    filters.AddFilter(&kept);
    filters.AddFilter(&removed);

    EXPECT_EQ(filters.RemoveFilter(&stranger), 0);
    EXPECT_EQ(filters.RemoveFilter(&removed), 1);
    EXPECT_EQ(filters.RemoveFilter(&removed), 0);
    LRESULT result = 0;
    filters.RunFilters(SomeWindow(), WM_APP, 0, 0, &result);
    EXPECT_EQ(log, std::vector<std::string>{"kept:32768"});
}

TEST(CVolWindowProcFilters, RemovingNullEmptiesTheChain) {
    std::vector<std::string> log;
    RecordingFilter a(log, "a");
    RecordingFilter b(log, "b");
    CVolWindowProcFilters filters;
    filters.AddFilter(&a);
    filters.AddFilter(&b);

    EXPECT_EQ(filters.RemoveFilter(nullptr), 1);
    EXPECT_TRUE(filters.IsEmpty());
    EXPECT_EQ(filters.RemoveFilter(nullptr), 1);  // also on an empty chain
}

TEST(CVolWindowProcFilters, NullWindowRunsNoFilter) {
    std::vector<std::string> log;
    RecordingFilter filter(log, "f", WM_APP, 1);
    CVolWindowProcFilters filters;
    filters.AddFilter(&filter);
    LRESULT result = 5;

    EXPECT_EQ(filters.RunFilters(nullptr, WM_APP, 0, 0, &result), 0);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(result, 5);
}

TEST(CVolWindowProcFilters, FilterMayRemoveItselfOrOthersWhileTheChainRuns) {
    std::vector<std::string> log;
    RecordingFilter oldest(log, "oldest");
    RecordingFilter middle(log, "middle");
    RecordingFilter newest(log, "newest");
    CVolWindowProcFilters filters;
    filters.AddFilter(&oldest);
    filters.AddFilter(&middle);
    filters.AddFilter(&newest);
    // The newest removes itself and the filter right behind it.
    newest.onFilter = [&] {
        filters.RemoveFilter(&newest);
        filters.RemoveFilter(&middle);
    };
    LRESULT result = 0;

    filters.RunFilters(SomeWindow(), WM_APP, 0, 0, &result);
    EXPECT_EQ(log, (std::vector<std::string>{"newest:32768", "oldest:32768"}));
    EXPECT_EQ(filters.GetCount(), 1);
    EXPECT_TRUE(filters.Contains(&oldest));
}

TEST(CVolWindowProcFilters, FilterMayEmptyTheChainWhileItRuns) {
    std::vector<std::string> log;
    RecordingFilter older(log, "older");
    RecordingFilter newer(log, "newer");
    CVolWindowProcFilters filters;
    filters.AddFilter(&older);
    filters.AddFilter(&newer);
    newer.onFilter = [&] { filters.RemoveAll(); };
    LRESULT result = 0;

    filters.RunFilters(SomeWindow(), WM_APP, 0, 0, &result);
    EXPECT_EQ(log, std::vector<std::string>{"newer:32768"});
    EXPECT_TRUE(filters.IsEmpty());
    // The chain works normally afterwards.
    filters.AddFilter(&older);
    filters.RunFilters(SomeWindow(), WM_APP, 0, 0, &result);
    EXPECT_EQ(log.back(), "older:32768");
}

TEST(CVolWindowProcFilters, PrivateMessagesAddAndRemoveThroughTheWindow) {
    std::vector<std::string> log;
    RecordingFilter filter(log, "f", WM_APP, 1234);
    FilteredWindow window;
    ASSERT_NE(window.Handle(), nullptr);
    const auto filterParam = reinterpret_cast<WPARAM>(static_cast<IWindowProcFilter*>(&filter));

    EXPECT_EQ(SendMessageW(window.Handle(), VM_ADDFILTER, filterParam, FRAMEWORK_MAGIC), FRAMEWORK_MAGIC);
    EXPECT_TRUE(window.filters.Contains(&filter));
    // A handled message ends in the filter: its answer comes back, the window never sees it.
    EXPECT_EQ(SendMessageW(window.Handle(), WM_APP, 0, 0), 1234);

    EXPECT_EQ(SendMessageW(window.Handle(), VM_REMOVEFILTER, filterParam, FRAMEWORK_MAGIC), FRAMEWORK_MAGIC);
    EXPECT_TRUE(window.filters.IsEmpty());
    EXPECT_EQ(SendMessageW(window.Handle(), WM_APP, 0, 0), 0);
}

TEST(CVolWindowProcFilters, PrivateMessagesWithoutSignatureOrFilterAreNotActedOn) {
    std::vector<std::string> log;
    RecordingFilter filter(log, "f");
    const auto filterParam = reinterpret_cast<WPARAM>(static_cast<IWindowProcFilter*>(&filter));
    CVolWindowProcFilters filters;
    filters.AddFilter(&filter);
    LRESULT result = 0;

    // A null filter in a removal message must not empty the chain.
    EXPECT_FALSE(filters.ProcessMessage(SomeWindow(), VM_REMOVEFILTER, 0, FRAMEWORK_MAGIC, result));
    EXPECT_TRUE(filters.Contains(&filter));
    EXPECT_FALSE(filters.ProcessMessage(SomeWindow(), VM_REMOVEFILTER, filterParam, 0, result));
    EXPECT_TRUE(filters.Contains(&filter));

    CVolWindowProcFilters empty;
    EXPECT_FALSE(empty.ProcessMessage(SomeWindow(), VM_ADDFILTER, filterParam, FRAMEWORK_MAGIC + 1, result));
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(CVolWindowProcFilters, ChainIsEmptiedAfterFiltersSawNcDestroy) {
    std::vector<std::string> log;
    RecordingFilter filter(log, "f");
    FilteredWindow window;
    SendMessageW(window.Handle(), VM_ADDFILTER,
                 reinterpret_cast<WPARAM>(static_cast<IWindowProcFilter*>(&filter)), FRAMEWORK_MAGIC);

    window.Destroy();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "f:" + std::to_string(WM_NCDESTROY));
    EXPECT_TRUE(window.filters.IsEmpty());
}
