#pragma once

#include "runtime/CMStringArray.h"
#include "runtime/CWString.h"

// The folder a drop names: the first dropped name, exactly as dropped, when it is an existing folder;
// otherwise the empty text. Only the first name counts, even when it is rejected: a drop of several
// items is not searched for a folder.
CWString DroppedFolder(const CMStringArray& paths);
