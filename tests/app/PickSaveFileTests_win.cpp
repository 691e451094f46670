#include <gtest/gtest.h>

#include <string>

#include "app/folder_input/PickSaveFile.h"
#include "tests/app/FakeFileDialog_win.h"

// After windows.h, which the dialog's header brings.
#include <knownfolders.h>
#include <shlobj.h>

namespace {

// Hands out the test's dialog, with one more reference each time.
class DialogSeam : public SaveDialogSeam {
public:
    explicit DialogSeam(FakeDialog* dialog) : dialog_(dialog) {}
    IFileDialog* MakeDialog() const override {
        if (dialog_ != nullptr) {
            dialog_->AddRef();
        }
        return dialog_;
    }

private:
    FakeDialog* dialog_;
};

std::wstring DocumentsFolder() {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &path))) {
        folder = path;
    }
    CoTaskMemFree(path);
    return folder;
}

class PickSaveFileTest : public testing::Test {
protected:
    PickSaveFileTest() : comInitialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        dialog_.otherResult = S_OK;
        dialog_.item = &item_;
    }
    ~PickSaveFileTest() override {
        if (comInitialised_) {
            CoUninitialize();
        }
    }
    SaveChoice Pick(std::u16string& path) {
        const DialogSeam seam(&dialog_);
        return PickSaveFile(reinterpret_cast<HWND>(0x1234), path, &seam);
    }

    bool comInitialised_;
    FakeItem item_{L"D:\\清单\\报告.xlsx"};
    FakeDialog dialog_;
};

TEST_F(PickSaveFileTest, ProposesTheWorkbookInDocumentsForXlsxFilesUnderItsTitle) {
    std::u16string path;
    EXPECT_EQ(Pick(path), SaveChoice::Chosen);
    EXPECT_EQ(path, u"D:\\清单\\报告.xlsx");
    EXPECT_EQ(dialog_.title, L"保存文件清单");
    EXPECT_EQ(dialog_.fileName, L"文件清单_.xlsx");
    ASSERT_EQ(dialog_.fileTypes.size(), 1u);
    EXPECT_EQ(dialog_.fileTypes[0].substr(dialog_.fileTypes[0].find(L'|')), L"|*.xlsx");
    EXPECT_EQ(dialog_.defaultExtension, L"xlsx");
    EXPECT_FALSE(DocumentsFolder().empty());
    // Wine names a folder item with a trailing separator.
    std::wstring folder = dialog_.folder;
    if (folder.size() > 3 && folder.back() == L'\\') {
        folder.pop_back();
    }
    EXPECT_EQ(folder, DocumentsFolder());
    // Only file-system files, an existing one replaced only after asking.
    EXPECT_EQ(dialog_.options & (FOS_FORCEFILESYSTEM | FOS_OVERWRITEPROMPT),
              static_cast<FILEOPENDIALOGOPTIONS>(FOS_FORCEFILESYSTEM | FOS_OVERWRITEPROMPT));
    EXPECT_EQ(dialog_.options & FOS_PICKFOLDERS, 0u);
    EXPECT_EQ(dialog_.shows, 1);
    EXPECT_EQ(dialog_.showOwner, reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(dialog_.references, 1u);  // only the seam's reference went back
    EXPECT_EQ(item_.references, 1u);
}

TEST_F(PickSaveFileTest, CancelAndFailuresAreToldApartAndReleaseWhatWasObtained) {
    const struct {
        const char* what;
        HRESULT setOptions;
        HRESULT setters;
        HRESULT show;
        HRESULT getResult;
        const wchar_t* name;
        SaveChoice expected;
        int expectedShows;
    } rows[] = {
        {"cancelled", S_OK, S_OK, HRESULT_FROM_WIN32(ERROR_CANCELLED), S_OK, L"C:\\x.xlsx",
         SaveChoice::Cancelled, 1},
        {"options refused", E_INVALIDARG, S_OK, S_OK, S_OK, L"C:\\x.xlsx", SaveChoice::Unavailable, 0},
        {"title or filter refused", S_OK, E_FAIL, S_OK, S_OK, L"C:\\x.xlsx", SaveChoice::Unavailable, 0},
        {"Show fails otherwise", S_OK, S_OK, E_FAIL, S_OK, L"C:\\x.xlsx", SaveChoice::Unavailable, 1},
        {"no result", S_OK, S_OK, S_OK, E_UNEXPECTED, L"C:\\x.xlsx", SaveChoice::Unavailable, 1},
        {"no file-system path", S_OK, S_OK, S_OK, S_OK, nullptr, SaveChoice::Unavailable, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        FakeItem item(row.name);
        FakeDialog dialog;
        dialog.item = &item;
        dialog.setOptionsResult = row.setOptions;
        dialog.otherResult = row.setters;
        dialog.showResult = row.show;
        dialog.getResultResult = row.getResult;
        const DialogSeam seam(&dialog);
        std::u16string path;
        EXPECT_EQ(PickSaveFile(nullptr, path, &seam), row.expected);
        EXPECT_EQ(dialog.shows, row.expectedShows);
        EXPECT_EQ(dialog.references, 1u);
        EXPECT_EQ(item.references, 1u);
    }
}

TEST_F(PickSaveFileTest, NoDialogIsUnavailable) {
    const DialogSeam seam(nullptr);
    std::u16string path;
    EXPECT_EQ(PickSaveFile(nullptr, path, &seam), SaveChoice::Unavailable);
}

}  // namespace
