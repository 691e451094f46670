#pragma once

#include <shobjidl.h>

#include <string>

#include "appsvc/Win32Api.h"

// How the save dialog ended.
enum class SaveChoice {
    Chosen,       // the user named a file; its file-system path is the answer
    Cancelled,    // the user closed the dialog without naming one
    Unavailable,  // the dialog could not be made or shown, or named no file-system path
};

// Where tests hand in a dialog of their own, as the folder picker's tests do; none in the program.
class SaveDialogSeam {
public:
    virtual ~SaveDialogSeam() = default;

    // A new dialog, with one reference for the caller; null when none can be made.
    virtual IFileDialog* MakeDialog() const = 0;
};

// Asks the user where to save the file list, with the system's save dialog owned by `owner`: titled
// "保存文件清单", proposing "文件清单_.xlsx" in the user's Documents folder, for .xlsx files only. The
// chosen file's path goes to `path`. COM must be initialised single-threaded on the calling thread.
// Every object obtained here is released here, and only those.
SaveChoice PickSaveFile(HWND owner, std::u16string& path, const SaveDialogSeam* seam = nullptr);
