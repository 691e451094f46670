#pragma once

#include "runtime/CWString.h"

// Asks the user for a folder with the system's file-open dialog in folder mode, without an owner
// window. Returns the chosen folder's file-system path, or the empty text when the dialog cannot be
// made, is cancelled, or the chosen item has no file-system path. COM must be initialised
// single-threaded on the calling thread.
CWString PickFolder();
