#include "app/folder_input/PickFolder.h"
#include "app/folder_input/PickFolderFromDialog.h"

// The file-open dialog asked for its IFileDialog interface ({42F85136-DB7E-439C-85F1-E4075D135FC8}):
// the options, Show and GetResult are all the folder picker needs.
CWString PickFolder() {
    IFileDialog* dialog = nullptr;
    const HRESULT created = CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IFileDialog, reinterpret_cast<void**>(&dialog));
    if (FAILED(created)) {
        return CWString();  // no COM on this thread, or no dialog on this system
    }
    return PickFolderFromDialog(dialog);
}
