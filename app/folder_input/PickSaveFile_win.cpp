#include "app/folder_input/PickSaveFile.h"
#include "app/folder_input/ReleaseOnExit.h"

#include <knownfolders.h>
#include <shlobj.h>

namespace {

inline constexpr wchar_t kTitle[] = L"保存文件清单";
inline constexpr wchar_t kProposedName[] = L"文件清单_.xlsx";
inline constexpr COMDLG_FILTERSPEC kWorkbookFilter = {L"Excel 工作簿 (*.xlsx)", L"*.xlsx"};

IFileDialog* MakeSaveDialog() {
    IFileDialog* dialog = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FileSaveDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileDialog,
                                reinterpret_cast<void**>(&dialog)))) {
        return nullptr;  // no COM on this thread, or no dialog on this system
    }
    return dialog;
}

// The file-system path of the chosen item; empty when it has none.
std::u16string FileSystemPath(IShellItem* item) {
    std::u16string text;
    PWSTR name = nullptr;
    if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &name)) && name != nullptr) {
        text = reinterpret_cast<const char16_t*>(name);
    }
    CoTaskMemFree(name);
    return text;
}

// The workbook is only useful as a file of its own that we may write: no library, no read-only file;
// an existing one is replaced only after the user agreed.
bool Prepare(IFileDialog& dialog) {
    FILEOPENDIALOGOPTIONS options = 0;
    if (FAILED(dialog.GetOptions(&options)) ||
        FAILED(dialog.SetOptions(options | FOS_FORCEFILESYSTEM | FOS_OVERWRITEPROMPT | FOS_NOREADONLYRETURN |
                                 FOS_PATHMUSTEXIST)) ||
        FAILED(dialog.SetTitle(kTitle)) || FAILED(dialog.SetFileTypes(1, &kWorkbookFilter)) ||
        FAILED(dialog.SetDefaultExtension(L"xlsx")) || FAILED(dialog.SetFileName(kProposedName))) {
        return false;
    }
    // Without a Documents folder (a profile without one) the dialog starts where the system chooses.
    IShellItem* documents = nullptr;
    if (SUCCEEDED(SHGetKnownFolderItem(FOLDERID_Documents, KF_FLAG_DEFAULT, nullptr, IID_IShellItem,
                                       reinterpret_cast<void**>(&documents)))) {
        const ReleaseOnExit<IShellItem> documentsReference(documents);
        if (FAILED(dialog.SetFolder(documents))) {
            return false;
        }
    }
    return true;
}

}  // namespace

SaveChoice PickSaveFile(HWND owner, std::u16string& path, const SaveDialogSeam* seam) {
    IFileDialog* dialog = seam != nullptr ? seam->MakeDialog() : MakeSaveDialog();
    if (dialog == nullptr) {
        return SaveChoice::Unavailable;
    }
    const ReleaseOnExit<IFileDialog> dialogReference(dialog);
    if (!Prepare(*dialog)) {
        return SaveChoice::Unavailable;
    }
    const HRESULT shown = dialog->Show(owner);
    if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED)) {
        return SaveChoice::Cancelled;
    }
    if (FAILED(shown)) {
        return SaveChoice::Unavailable;
    }
    IShellItem* item = nullptr;
    if (FAILED(dialog->GetResult(&item)) || item == nullptr) {
        return SaveChoice::Unavailable;
    }
    const ReleaseOnExit<IShellItem> itemReference(item);
    path = FileSystemPath(item);
    return path.empty() ? SaveChoice::Unavailable : SaveChoice::Chosen;
}
