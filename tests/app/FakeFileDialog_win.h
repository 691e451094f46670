#pragma once

#include <shobjidl.h>

#include <cstring>
#include <string>
#include <vector>

// A file dialog and a chosen item for the tests of the folder input's dialogs: every step answers as
// configured, and the dialog records what it was asked.

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
    int otherCalls = 0;  // title, folder, filters ...: the folder picker sets none of them
    HRESULT otherResult = E_NOTIMPL;
    // What was set besides the options.
    std::wstring title;
    std::wstring fileName;
    std::wstring defaultExtension;
    std::wstring folder;                  // the file-system path of the item given to SetFolder
    std::vector<std::wstring> fileTypes;  // "name|pattern"

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
    HRESULT STDMETHODCALLTYPE SetFileTypes(UINT count, const COMDLG_FILTERSPEC* types) override {
        for (UINT i = 0; i < count; ++i) {
            fileTypes.push_back(std::wstring(types[i].pszName) + L"|" + types[i].pszSpec);
        }
        return Other();
    }
    HRESULT STDMETHODCALLTYPE SetFileTypeIndex(UINT) override { return Other(); }
    HRESULT STDMETHODCALLTYPE GetFileTypeIndex(UINT*) override { return Other(); }
    HRESULT STDMETHODCALLTYPE Advise(IFileDialogEvents*, DWORD*) override { return Other(); }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return Other(); }
    HRESULT STDMETHODCALLTYPE SetDefaultFolder(IShellItem*) override { return Other(); }
    HRESULT STDMETHODCALLTYPE SetFolder(IShellItem* folderItem) override {
        PWSTR name = nullptr;
        if (folderItem != nullptr && SUCCEEDED(folderItem->GetDisplayName(SIGDN_FILESYSPATH, &name))) {
            folder = name;
        }
        CoTaskMemFree(name);
        return Other();
    }
    HRESULT STDMETHODCALLTYPE GetFolder(IShellItem**) override { return Other(); }
    HRESULT STDMETHODCALLTYPE GetCurrentSelection(IShellItem**) override { return Other(); }
    HRESULT STDMETHODCALLTYPE SetFileName(LPCWSTR name) override {
        fileName = name;
        return Other();
    }
    HRESULT STDMETHODCALLTYPE GetFileName(LPWSTR*) override { return Other(); }
    HRESULT STDMETHODCALLTYPE SetTitle(LPCWSTR text) override {
        title = text;
        return Other();
    }
    HRESULT STDMETHODCALLTYPE SetOkButtonLabel(LPCWSTR) override { return Other(); }
    HRESULT STDMETHODCALLTYPE SetFileNameLabel(LPCWSTR) override { return Other(); }
    HRESULT STDMETHODCALLTYPE AddPlace(IShellItem*, FDAP) override { return Other(); }
    HRESULT STDMETHODCALLTYPE SetDefaultExtension(LPCWSTR extension) override {
        defaultExtension = extension;
        return Other();
    }
    HRESULT STDMETHODCALLTYPE Close(HRESULT) override { return Other(); }
    HRESULT STDMETHODCALLTYPE SetClientGuid(REFGUID) override { return Other(); }
    HRESULT STDMETHODCALLTYPE ClearClientData() override { return Other(); }
    HRESULT STDMETHODCALLTYPE SetFilter(IShellItemFilter*) override { return Other(); }

private:
    HRESULT Other() {
        ++otherCalls;
        return otherResult;
    }
};
