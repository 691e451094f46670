#include <gtest/gtest.h>

#include <string>

#include "app/folder_input/PickFolderFromDialog.h"
#include "tests/app/FakeFileDialog_win.h"

namespace {

std::u16string Pick(FakeDialog& dialog) {
    return PickFolderFromDialog(&dialog).GetText();
}

TEST(PickFolderFromDialog, ChosenFolderIsTheAnswerAndEverythingObtainedIsReleased) {
    FakeItem item(L"C:\\Users\\报告");
    FakeDialog dialog;
    dialog.item = &item;
    EXPECT_EQ(Pick(dialog), u"C:\\Users\\报告");
    EXPECT_EQ(dialog.references, 0u);
    EXPECT_EQ(item.references, 1u);  // only the reference GetResult handed out went back
    EXPECT_EQ(item.askedForm, SIGDN_FILESYSPATH);
}

TEST(PickFolderFromDialog, FolderModeIsAddedToTheOptionsAndNothingElseIsSet) {
    FakeItem item(L"C:\\x");
    FakeDialog dialog;
    dialog.item = &item;
    Pick(dialog);
    EXPECT_EQ(dialog.options, static_cast<FILEOPENDIALOGOPTIONS>(FOS_NOCHANGEDIR | FOS_PICKFOLDERS));
    EXPECT_EQ(dialog.otherCalls, 0);
    EXPECT_EQ(dialog.shows, 1);
    EXPECT_EQ(dialog.showOwner, nullptr);
}

TEST(PickFolderFromDialog, EveryFailureAnswersTheEmptyTextAndReleasesOnlyWhatWasObtained) {
    const struct {
        const char* what;
        HRESULT getOptions;
        HRESULT setOptions;
        HRESULT show;
        HRESULT getResult;
        const wchar_t* name;
        int expectedShows;
    } rows[] = {
        {"options cannot be read", E_FAIL, S_OK, S_OK, S_OK, L"C:\\x", 0},
        {"folder mode refused", S_OK, E_INVALIDARG, S_OK, S_OK, L"C:\\x", 0},
        {"cancelled", S_OK, S_OK, HRESULT_FROM_WIN32(ERROR_CANCELLED), S_OK, L"C:\\x", 1},
        {"no result after Show", S_OK, S_OK, S_OK, E_UNEXPECTED, L"C:\\x", 1},
        {"item without a file-system path", S_OK, S_OK, S_OK, S_OK, nullptr, 1},
        {"empty file-system path", S_OK, S_OK, S_OK, S_OK, L"", 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        FakeItem item(row.name);
        FakeDialog dialog;
        dialog.item = &item;
        dialog.getOptionsResult = row.getOptions;
        dialog.setOptionsResult = row.setOptions;
        dialog.showResult = row.show;
        dialog.getResultResult = row.getResult;
        EXPECT_EQ(Pick(dialog), u"");
        EXPECT_EQ(dialog.shows, row.expectedShows);
        EXPECT_EQ(dialog.references, 0u);
        EXPECT_EQ(item.references, 1u);
    }
}

TEST(PickFolderFromDialog, ASuccessfulGetResultWithoutAnItemIsNotUsed) {
    FakeDialog dialog;  // GetResult succeeds but hands out nothing
    EXPECT_EQ(Pick(dialog), u"");
    EXPECT_EQ(dialog.references, 0u);
}

}  // namespace
