#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/folder_input/PickFolderFromDialog.h"

namespace {

// A chosen item whose file-system name is given (null: GetDisplayName fails).
class FakeItem : public IShellItem {
public:
    explicit FakeItem(const wchar_t* name) : name_(name) {}

    ULONG references = 1;
    SIGDN askedForm = SIGDN_NORMALDISPLAY;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE BindToHandler(IBindCtx*, REFGUID, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetParent(IShellItem**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDisplayName(SIGDN form, LPWSTR* name) override {
        askedForm = form;
        if (name_ == nullptr) {
            *name = nullptr;
            return E_FAIL;
        }
        const std::size_t bytes = (std::wcslen(name_) + 1) * sizeof(wchar_t);
        *name = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
        std::memcpy(*name, name_, bytes);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAttributes(SFGAOF, SFGAOF*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Compare(IShellItem*, SICHINTF, int*) override { return E_NOTIMPL; }

private:
    const wchar_t* name_;
};

// A dialog whose steps answer as configured and that counts what it was asked.
class FakeDialog : public IFileDialog {
public:
    ULONG references = 1;
    FILEOPENDIALOGOPTIONS options = FOS_NOCHANGEDIR;
    HRESULT getOptionsResult = S_OK;
    HRESULT setOptionsResult = S_OK;
    HRESULT showResult = S_OK;
    HRESULT getResultResult = S_OK;
    FakeItem* item = nullptr;  // handed out by GetResult with one more reference
    int shows = 0;
    HWND showOwner = reinterpret_cast<HWND>(1);
    int otherCalls = 0;  // title, folder, filters ...: nothing else may be set

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE Show(HWND owner) override {
        ++shows;
        showOwner = owner;
        return showResult;
    }
    HRESULT STDMETHODCALLTYPE SetOptions(FILEOPENDIALOGOPTIONS value) override {
        if (SUCCEEDED(setOptionsResult)) {
            options = value;
        }
        return setOptionsResult;
    }
    HRESULT STDMETHODCALLTYPE GetOptions(FILEOPENDIALOGOPTIONS* value) override {
        *value = options;
        return getOptionsResult;
    }
    HRESULT STDMETHODCALLTYPE GetResult(IShellItem** result) override {
        *result = nullptr;
        if (FAILED(getResultResult)) {
            return getResultResult;
        }
        if (item != nullptr) {
            item->AddRef();
            *result = item;
        }
        return getResultResult;
    }
    HRESULT STDMETHODCALLTYPE SetFileTypes(UINT, const COMDLG_FILTERSPEC*) override { return Other(); }
    HRESULT STDMETHODCALLTYPE SetFileTypeIndex(UINT) override { return Other(); }
    HRESULT STDMETHODCALLTYPE GetFileTypeIndex(UINT*) override { return Other(); }
    HRESULT STDMETHODCALLTYPE Advise(IFileDialogEvents*, DWORD*) override { return Other(); }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return Other(); }
    HRESULT STDMETHODCALLTYPE SetDefaultFolder(IShellItem*) override { return Other(); }
    HRESULT STDMETHODCALLTYPE SetFolder(IShellItem*) override { return Other(); }
    HRESULT STDMETHODCALLTYPE GetFolder(IShellItem**) override { return Other(); }
    HRESULT STDMETHODCALLTYPE GetCurrentSelection(IShellItem**) override { return Other(); }
    HRESULT STDMETHODCALLTYPE SetFileName(LPCWSTR) override { return Other(); }
    HRESULT STDMETHODCALLTYPE GetFileName(LPWSTR*) override { return Other(); }
    HRESULT STDMETHODCALLTYPE SetTitle(LPCWSTR) override { return Other(); }
    HRESULT STDMETHODCALLTYPE SetOkButtonLabel(LPCWSTR) override { return Other(); }
    HRESULT STDMETHODCALLTYPE SetFileNameLabel(LPCWSTR) override { return Other(); }
    HRESULT STDMETHODCALLTYPE AddPlace(IShellItem*, FDAP) override { return Other(); }
    HRESULT STDMETHODCALLTYPE SetDefaultExtension(LPCWSTR) override { return Other(); }
    HRESULT STDMETHODCALLTYPE Close(HRESULT) override { return Other(); }
    HRESULT STDMETHODCALLTYPE SetClientGuid(REFGUID) override { return Other(); }
    HRESULT STDMETHODCALLTYPE ClearClientData() override { return Other(); }
    HRESULT STDMETHODCALLTYPE SetFilter(IShellItemFilter*) override { return Other(); }

private:
    HRESULT Other() {
        ++otherCalls;
        return E_NOTIMPL;
    }
};

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
