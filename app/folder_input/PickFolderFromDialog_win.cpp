#include "app/folder_input/PickFolderFromDialog.h"
#include "app/folder_input/ReleaseOnExit.h"

namespace {

// The file-system path of the chosen item; empty when it has none (a library, a network place).
CWString FileSystemPath(IShellItem* item) {
    CWString text;
    PWSTR name = nullptr;
    if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &name)) && name != nullptr && name[0] != L'\0') {
        text.SetText(reinterpret_cast<const char16_t*>(name));
    }
    CoTaskMemFree(name);
    return text;
}

}  // namespace

CWString PickFolderFromDialog(IFileDialog* dialog) {
    if (dialog == nullptr) {
        return CWString();
    }
    const ReleaseOnExit<IFileDialog> dialogReference(dialog);

    // Without folder mode the dialog would let the user pick a file, which the export would only
    // reject later; a dialog that refuses folder mode is not shown at all.
    FILEOPENDIALOGOPTIONS options = 0;
    if (FAILED(dialog->GetOptions(&options)) || FAILED(dialog->SetOptions(options | FOS_PICKFOLDERS))) {
        return CWString();
    }
    // A failed Show includes the user's cancel.
    if (FAILED(dialog->Show(nullptr))) {
        return CWString();
    }
    IShellItem* item = nullptr;
    if (FAILED(dialog->GetResult(&item)) || item == nullptr) {
        return CWString();
    }
    const ReleaseOnExit<IShellItem> itemReference(item);
    return FileSystemPath(item);
}
