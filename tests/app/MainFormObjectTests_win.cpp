#include <gtest/gtest.h>

#include <vector>

#include "app/entry/MainApp.h"
#include "app/main_form/MainFormLayout.h"
#include "appsvc/CVolAppInstance.h"
#include "appsvc/CVolWtlAppModule.h"
#include "tests/app/MainFormHarness.h"
#include "tests/app/TempTree.h"

namespace {

TEST(MainFormObject, IsAKindOfItselfAndEveryBaseOnly) {
    MainForm form;
    EXPECT_STREQ(form.GetClassInfo().GetName(), "MainForm");
    for (const CVolClassInfo* record :
         {&MainForm::ClassInfo(), &CVolWinForm::ClassInfo(), &CVolWinPanel::ClassInfo(),
          &CVolWinContainer::ClassInfo(), &CVolWinControl::ClassInfo(), &CVolRefObject::ClassInfo(),
          &CVolObject::ClassInfo()}) {
        SCOPED_TRACE(record->GetName());
        EXPECT_TRUE(form.IsKindOf(*record));
    }
    EXPECT_FALSE(form.IsKindOf(CVolWinButton::ClassInfo()));
    EXPECT_FALSE(form.IsKindOf(MainApp::ClassInfo()));
}

TEST(MainFormObject, EqualOnlyToItself) {
    MainForm form;
    MainForm other;
    CVolWinForm plain;
    EXPECT_TRUE(form.IsEqual(form));
    EXPECT_FALSE(form.IsEqual(other));
    EXPECT_FALSE(form.IsEqual(plain));
}

TEST(MainFormObject, DefaultClientSizeFollowsTheDisplayScale) {
    const double previous = GetAppInstance().GetScale();
    const struct {
        double scale;
        std::int32_t width;
        std::int32_t height;
    } rows[] = {{1.0, 633, 267}, {1.25, 791, 334}, {1.5, 950, 401}, {2.0, 1266, 534}};
    MainForm form;
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "scale " << row.scale);
        GetAppInstance().SetScale(row.scale);
        EXPECT_EQ(form.DefaultClientWidth(), row.width);
        EXPECT_EQ(form.DefaultClientHeight(), row.height);
    }
    GetAppInstance().SetScale(previous);
}

TEST(MainFormObject, StreamHoldsTheFormTextThenEachControlAndReadsBackWhole) {
    MainForm source;
    source.SetTextValue(u"saved");
    std::vector<unsigned char> bytes;
    CVolOutStream output(bytes);
    source.SaveToStream(output);
    ASSERT_TRUE(output.IsGood());

    MainForm target;
    CVolInStream input(bytes.data(), bytes.size());
    target.LoadFromStream(input);
    EXPECT_TRUE(input.IsGood());
    EXPECT_EQ(input.GetRemaining(), 0u);  // the six controls' texts were read too
    EXPECT_EQ(std::u16string(target.GetTextValue().GetText()), u"saved");
}

TEST(MainFormObject, BadStreamIsLeftAlone) {
    MainForm form;
    form.SetTextValue(u"kept");
    std::vector<unsigned char> bytes;
    CVolOutStream output(bytes);
    output.SetStatus(CVolStream::kWriteFailed);
    form.SaveToStream(output);
    EXPECT_TRUE(bytes.empty());
    const unsigned char garbage[] = {1, 2};
    CVolInStream input(garbage, sizeof garbage);
    input.SetStatus(CVolStream::kShortRead);
    form.LoadFromStream(input);
    EXPECT_EQ(std::u16string(form.GetTextValue().GetText()), u"kept");
}

// A copy shares the windows; destroying it must not silence the original's handlers.
TEST(MainFormObject, DestroyingACloneLeavesTheOriginalWorking) {
    TempTree tree;
    tree.MakeFile(u"a.txt", 1);
    MainFormHarness harness;
    CVolObject* clone = harness.Form().Clone();
    ASSERT_NE(clone, nullptr);
    EXPECT_TRUE(clone->IsKindOf(MainForm::ClassInfo()));
    EXPECT_EQ(static_cast<MainForm*>(clone)->GetWindow(), harness.Window());
    clone->Destroy();
    PumpMessages();
    ASSERT_TRUE(IsWindow(harness.Window()));
    harness.Type(tree.Root());
    ASSERT_TRUE(harness.Generate());
    EXPECT_EQ(harness.Text(STATUS_LABEL_ID), u"生成完毕,文件数量1个。");
}

TEST(MainFormObject, AResetFormCanBeCreatedAgainAndItsHandlersRun) {
    TempTree tree;
    tree.MakeFile(u"a.txt", 1);
    MainFormHarness harness;
    harness.Form().Reset();  // the old windows go with their bridges
    PumpMessages();
    EXPECT_EQ(harness.Form().GetWindow(), nullptr);
    ControlCreateInfo info;
    info.x = info.y = info.width = info.height = ControlCreateInfo::kDefault;
    ASSERT_TRUE(harness.Form().CreateControl(info));
    PumpMessages();
    EXPECT_EQ(WindowText(harness.Window()), u"Morvane - 免费 绿色 极速");
    harness.Type(tree.Root());
    ASSERT_TRUE(harness.Generate());
    EXPECT_EQ(harness.Text(STATUS_LABEL_ID), u"生成完毕,文件数量1个。");
}

TEST(MainFormObject, DestroyingTheFormDestroysItsWindows) {
    auto* form = new MainForm;
    ControlCreateInfo info;
    info.x = info.y = info.width = info.height = ControlCreateInfo::kDefault;
    ASSERT_TRUE(form->CreateControl(info));
    const HWND window = form->GetWindow();
    const HWND generate = GetDlgItem(window, GENERATE_BUTTON_ID);
    form->Destroy();
    PumpMessages();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(generate));
}

TEST(MainAppObject, ClassTestsAndEquality) {
    CVolAppInstance& instance = GetAppInstance();
    CVolUserApp* const previous = instance.GetCurrentApp();
    {
        MainApp app;
        MainApp other;
        EXPECT_STREQ(app.GetClassInfo().GetName(), "MainApp");
        for (const CVolClassInfo* record :
             {&MainApp::ClassInfo(), &CVolWinApp::ClassInfo(), &CVolBaseApp::ClassInfo(),
              &CVolUserApp::ClassInfo(), &CVolObject::ClassInfo()}) {
            SCOPED_TRACE(record->GetName());
            EXPECT_TRUE(app.IsKindOf(*record));
        }
        EXPECT_FALSE(app.IsKindOf(MainForm::ClassInfo()));
        EXPECT_TRUE(app.IsEqual(app));
        EXPECT_FALSE(app.IsEqual(other));
    }
    instance.SetCurrentApp(previous);
}

TEST(MainAppObject, CloneCopiesFlagsTagAndTheFormsState) {
    CVolAppInstance& instance = GetAppInstance();
    CVolUserApp* const previous = instance.GetCurrentApp();
    {
        MainApp app;
        app.SetTag(77);
        app.GetMainForm().SetTextValue(u"form text");
        CVolObject* clone = app.Clone();
        ASSERT_NE(clone, nullptr);
        ASSERT_TRUE(clone->IsKindOf(MainApp::ClassInfo()));
        auto* copy = static_cast<MainApp*>(clone);
        EXPECT_EQ(copy->GetTag(), 77u);
        EXPECT_EQ(std::u16string(copy->GetMainForm().GetTextValue().GetText()), u"form text");
        EXPECT_FALSE(copy->Assign(CVolWinApp()));  // not a MainApp: nothing copied
        copy->Destroy();
    }
    instance.SetCurrentApp(previous);
}

TEST(MainAppObject, RunMainMakesTheFormTheMainWindow) {
    CVolAppInstance& instance = GetAppInstance();
    CVolUserApp* const previous = instance.GetCurrentApp();
    auto* app = new MainApp;
    EXPECT_TRUE(app->RunMain());
    const HWND window = app->GetMainForm().GetWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetAppModule().GetMainWindow(), window);
    EXPECT_TRUE(IsWindowVisible(window));
    GetAppModule().SetMainWindow(nullptr);  // no quit message for the test's own loop
    app->Destroy();
    PumpMessages();
    EXPECT_FALSE(IsWindow(window));
    instance.SetCurrentApp(previous);
}

// The first argument of the program, as Explorer passes a folder dropped on the program's icon.
TEST(MainAppObject, RunMainPutsAFolderGivenAsTheFirstArgumentIntoThePathBoxOnly) {
    TempTree tree;
    tree.MakeFolder(u"文件夹 A");
    tree.MakeFile(u"文件夹 A/报告.docx", 10);
    tree.MakeFolder(u"B");
    const std::u16string folder = tree.Path(u"文件夹 A");
    const std::u16string file = tree.Path(u"文件夹 A/报告.docx");
    const std::u16string other = tree.Path(u"B");
    const std::u16string missing = tree.Path(u"不存在");
    const struct {
        const char* what;
        std::vector<std::u16string> arguments;  // after the program's own name
        std::u16string pathBox;
    } rows[] = {
        {"no argument", {}, u""},
        {"a folder, exactly as given", {folder}, folder},
        {"a folder with a trailing separator", {folder + u"\\"}, folder + u"\\"},
        {"a file", {file}, u""},
        {"a name that does not exist", {missing}, u""},
        {"only the first argument counts", {file, other}, u""},
        {"a folder before other arguments", {folder, other}, folder},
    };
    CVolAppInstance& instance = GetAppInstance();
    CVolUserApp* const previous = instance.GetCurrentApp();
    const std::int64_t previousArgc = instance.GetArgc();
    char16_t** const previousArgv = instance.GetArgv();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<std::u16string> texts{u"Morvane.exe"};
        texts.insert(texts.end(), row.arguments.begin(), row.arguments.end());
        std::vector<char16_t*> argv;
        for (std::u16string& text : texts) {
            argv.push_back(text.data());
        }
        argv.push_back(nullptr);
        instance.SetArguments(static_cast<std::int64_t>(texts.size()), argv.data());
        auto* app = new MainApp;
        EXPECT_TRUE(app->RunMain());
        const HWND window = app->GetMainForm().GetWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(WindowText(GetDlgItem(window, PATH_BOX_ID)), row.pathBox);
        EXPECT_EQ(WindowText(GetDlgItem(window, STATUS_LABEL_ID)), u"");
        GetAppModule().SetMainWindow(nullptr);
        app->Destroy();
        PumpMessages();
    }
    instance.SetArguments(previousArgc, previousArgv);
    instance.SetCurrentApp(previous);
    // Nothing is exported before the button is pressed.
    EXPECT_FALSE(tree.Exists(u"文件夹 A/文件清单_.xlsx"));
}

}  // namespace
