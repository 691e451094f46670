#pragma once

#include <shobjidl.h>

#include "appsvc/Win32Api.h"
#include "runtime/CWString.h"

// The dialog part of PickFolder, given an already created dialog: sets folder mode, shows the dialog
// and reads the chosen item's file-system path. Takes over the caller's reference to `dialog` (a null
// dialog gives the empty text). Every object obtained here is released here, and only those.
//
// Internal to the folder input; separate so that tests can hand in a dialog of their own.
CWString PickFolderFromDialog(IFileDialog* dialog);
