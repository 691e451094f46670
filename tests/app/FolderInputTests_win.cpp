#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/folder_input/DroppedFolder.h"
#include "app/folder_input/PickFolder.h"
#include "app/main_form/MainFormLayout.h"
#include "tests/app/MainFormHarness.h"
#include "tests/app/TempTree.h"

namespace {

class FolderDrop : public testing::Test {
protected:
    FolderDrop() {
        tree_.MakeFolder(u"first");
        tree_.MakeFolder(u"second");
        tree_.MakeFile(u"file.txt", 3);
    }

    std::u16string PathBox() const { return harness_.Text(PATH_BOX_ID); }

    TempTree tree_;
    MainFormHarness harness_;
};

TEST_F(FolderDrop, FolderDroppedOnThePathBoxReplacesItsText) {
    harness_.Type(u"typed before");
    harness_.Drop(harness_.Child(PATH_BOX_ID), {tree_.Path(u"first")});
    EXPECT_EQ(PathBox(), tree_.Path(u"first"));
}

TEST_F(FolderDrop, FolderDroppedOnTheFormGivesTheSameResult) {
    harness_.Drop(harness_.Window(), {tree_.Path(u"first")});
    EXPECT_EQ(PathBox(), tree_.Path(u"first"));
}

TEST_F(FolderDrop, OfTwoFoldersTheFirstInDropOrderWins) {
    harness_.Drop(harness_.Child(PATH_BOX_ID), {tree_.Path(u"second"), tree_.Path(u"first")});
    EXPECT_EQ(PathBox(), tree_.Path(u"second"));
}

TEST_F(FolderDrop, AFileFirstLeavesThePathBoxEmptyEvenWithAFolderAfterIt) {
    harness_.Type(u"typed before");
    harness_.Drop(harness_.Child(PATH_BOX_ID), {tree_.Path(u"file.txt"), tree_.Path(u"first")});
    EXPECT_EQ(PathBox(), u"");
}

TEST_F(FolderDrop, DropsOnLabelsAndButtonsReachTheFormsHandler) {
    for (int id : {STATUS_LABEL_ID, DESCRIPTION_LABEL_ID, GENERATE_BUTTON_ID, CHOOSE_FOLDER_BUTTON_ID,
                   SUBFOLDERS_CHECK_BOX_ID}) {
        SCOPED_TRACE(testing::Message() << "dropped on control " << id);
        harness_.Type(u"");
        const HWND target = DropTargetFor(harness_.Child(id));
        ASSERT_EQ(target, harness_.Window());
        harness_.Drop(target, {tree_.Path(u"second")});
        EXPECT_EQ(PathBox(), tree_.Path(u"second"));
    }
}

TEST_F(FolderDrop, ADropClearsPathBoxThenStatusLine) {
    harness_.Type(tree_.Path(u"missing"));
    ASSERT_TRUE(harness_.Generate());
    ASSERT_EQ(harness_.Text(STATUS_LABEL_ID), u"目录错误");
    SetTextRecorder recorder(
        {{harness_.Child(STATUS_LABEL_ID), u"status"}, {harness_.Child(PATH_BOX_ID), u"path"}});
    harness_.Drop(harness_.Window(), {tree_.Path(u"file.txt")});
    EXPECT_EQ(recorder.Entries(), (std::vector<std::u16string>{u"path=", u"status="}));
}

TEST(DroppedFolder, OnlyAnExistingFolderInFirstPlaceCounts) {
    TempTree tree;
    tree.MakeFolder(u"folder");
    tree.MakeFile(u"file.txt", 1);
    const struct {
        const char* what;
        std::vector<std::u16string> names;
        std::u16string expected;
    } rows[] = {
        {"nothing", {}, u""},
        {"one folder", {tree.Path(u"folder")}, tree.Path(u"folder")},
        {"folder with a trailing separator, kept as dropped",
         {tree.Path(u"folder") + u"\\"},
         tree.Path(u"folder") + u"\\"},
        {"a file", {tree.Path(u"file.txt")}, u""},
        {"a name that does not exist", {tree.Path(u"gone")}, u""},
        {"an empty name", {u""}, u""},
        {"folder after a missing name", {tree.Path(u"gone"), tree.Path(u"folder")}, u""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        CMStringArray paths;
        for (const std::u16string& name : row.names) {
            paths.Append(name.c_str());
        }
        EXPECT_EQ(std::u16string(DroppedFolder(paths).GetText()), row.expected);
    }
}

// The folder picker, with the real dialog: another thread waits for it to appear, looks at the form
// while it is open, and cancels it.
class FolderPicker : public testing::Test {
protected:
    // The visible dialog owned by thread `threadId`, or null.
    static HWND FindDialog(DWORD threadId) {
        HWND found = nullptr;
        EnumThreadWindows(
            threadId,
            [](HWND window, LPARAM result) -> BOOL {
                wchar_t className[64] = {};
                GetClassNameW(window, className, 64);
                if (IsWindowVisible(window) && std::wstring(className) == L"#32770") {
                    *reinterpret_cast<HWND*>(result) = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }

    static std::u16string TextOf(HWND window) {
        wchar_t text[512] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 10000,
                            &length);
        return std::u16string(reinterpret_cast<const char16_t*>(text), length);
    }

    // Clicks "选择文件夹" and runs `whileOpen` on another thread once the dialog shows, then cancels the
    // dialog. False when no dialog appeared within half a minute.
    template <class WhileOpen>
    bool PickAndCancel(WhileOpen whileOpen) {
        const DWORD uiThread = GetCurrentThreadId();
        std::atomic<bool> appeared{false};
        std::atomic<bool> finished{false};
        std::thread helper([&] {
            for (int i = 0; i < 300 && !appeared; ++i) {
                if (HWND dialog = FindDialog(uiThread)) {
                    appeared = true;
                    whileOpen();
                    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                } else {
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
                }
            }
            finished = true;
        });
        // Posted, so that this thread stays free to pump should the dialog never appear.
        PostMessageW(harness_.Child(CHOOSE_FOLDER_BUTTON_ID), BM_CLICK, 0, 0);
        while (!finished) {
            PumpMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        helper.join();
        PumpMessages();
        return appeared;
    }

    MainFormHarness harness_;
};

TEST_F(FolderPicker, CancelAfterTypingLeavesThePathBoxEmpty) {
    harness_.Type(u"C:\\typed before");
    std::u16string pathWhileOpen = u"<not read>";
    std::u16string statusWhileOpen = u"<not read>";
    ASSERT_TRUE(PickAndCancel([&] {
        pathWhileOpen = TextOf(harness_.Child(PATH_BOX_ID));
        statusWhileOpen = TextOf(harness_.Child(STATUS_LABEL_ID));
    }));
    EXPECT_EQ(pathWhileOpen, u"");
    EXPECT_EQ(statusWhileOpen, u"");
    EXPECT_EQ(harness_.Text(PATH_BOX_ID), u"");
}

TEST_F(FolderPicker, GenerateWhileThePickerIsOpenFindsTheClearedPathBox) {
    TempTree tree;
    tree.MakeFile(u"a.txt", 1);
    harness_.Type(tree.Root());
    std::u16string statusAfterGenerate;
    ASSERT_TRUE(PickAndCancel([&] {
        // The form stays enabled: the picker has no owner window.
        SendMessageTimeoutW(harness_.Child(GENERATE_BUTTON_ID), BM_CLICK, 0, 0, SMTO_NORMAL, 60000, nullptr);
        // The export runs on its own thread; the picker's loop delivers its end to the form.
        for (int i = 0; i < 600; ++i) {
            statusAfterGenerate = TextOf(harness_.Child(STATUS_LABEL_ID));
            if (statusAfterGenerate.rfind(u"正在", 0) != 0) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }));
    EXPECT_EQ(statusAfterGenerate, u"目录错误");
    EXPECT_FALSE(tree.Exists(u"文件清单_.xlsx"));
}

TEST(PickFolder, WithoutComOnTheThreadItAnswersTheEmptyText) {
    std::u16string picked = u"<not run>";
    std::thread withoutCom([&] { picked = PickFolder().GetText(); });
    withoutCom.join();
    EXPECT_EQ(picked, u"");
}

}  // namespace
