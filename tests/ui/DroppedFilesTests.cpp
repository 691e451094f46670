#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EventRecorder.h"
#include "RecordingPanel.h"
#include "WindowTestSupport.h"
#include "ui/DroppedFiles.h"

namespace {

std::vector<std::u16string> received;

std::int32_t CollectPaths(CVolObject* target, CVolWinControl*, std::uint32_t, const CMStringArray& paths) {
    EventRecorder::Of(target).Add("dropped " + std::to_string(paths.GetCount()));
    for (std::int64_t i = 0; i < paths.GetCount(); ++i) {
        received.push_back(paths.GetAt(i));
    }
    return 1;  // asks for consumption, which a drop never gets
}

class DroppedFilesTest : public testing::Test {
protected:
    void SetUp() override {
        received.clear();
        ControlCreateInfo formInfo = MakeDefaultFormInfo();
        ASSERT_TRUE(form_.CreateControl(formInfo));
        panel_.BindEvent(panel_.FilesDroppedEvent(), &CollectPaths, recorder_.Holder());
        ControlCreateInfo info = MakeCreateInfo(form_.GetWindow(), &form_, 0, 0, 50, 50, 5);
        ASSERT_TRUE(panel_.CreateControl(info));
        panel_.Native().Forget();
    }
    void TearDown() override {
        DestroyWindow(form_.GetWindow());
        PumpMessages();
    }

    EventRecorder recorder_;
    TestForm form_;
    RecordingPanel panel_;
};

TEST_F(DroppedFilesTest, DropWithoutFilesRaisesNothingButIsFinished) {
    const HDROP drop = MakeDrop({});
    ASSERT_TRUE(IsDropAlive(drop));
    SendMessageW(panel_.GetWindow(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(recorder_.entries, std::vector<std::string>{});
    EXPECT_FALSE(IsDropAlive(drop));
    EXPECT_TRUE(panel_.Native().SawMessage(WM_DROPFILES));
}

TEST_F(DroppedFilesTest, FilesArriveInDropOrderAndTheMessageGoesOn) {
    const HDROP drop = MakeDrop({u"C:\\文件夹", u"D:\\b.txt", u"E:\\c"});
    SendMessageW(panel_.GetWindow(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(recorder_.entries, std::vector<std::string>{"dropped 3"});
    EXPECT_EQ(received, (std::vector<std::u16string>{u"C:\\文件夹", u"D:\\b.txt", u"E:\\c"}));
    EXPECT_FALSE(IsDropAlive(drop));
    // Never consumed, whatever the handler answered: the window's own handling still sees it.
    EXPECT_TRUE(panel_.Native().SawMessage(WM_DROPFILES));
}

TEST_F(DroppedFilesTest, HandleMessageNeverReportsADropAsConsumed) {
    MessageRecord record{panel_.GetWindow(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({u"C:\\x"})), 0,
                         0};
    EXPECT_FALSE(panel_.HandleMessage(record));
    EXPECT_EQ(record.result, 0);
    EXPECT_EQ(received, std::vector<std::u16string>{u"C:\\x"});
}

TEST(ReadDroppedFiles, LongPathsArriveWhole) {
    const std::u16string longPath = u"C:\\" + std::u16string(400, u'd') + u"\\file.txt";
    const HDROP drop = MakeDrop({longPath, u"C:\\short"});
    CMStringArray paths;
    EXPECT_EQ(ReadDroppedFiles(drop, paths), 2);
    ASSERT_EQ(paths.GetCount(), 2);
    EXPECT_EQ(std::u16string(paths.GetAt(0)), longPath);
    EXPECT_EQ(std::u16string(paths.GetAt(1)), u"C:\\short");
    EXPECT_FALSE(IsDropAlive(drop));
}

}  // namespace
