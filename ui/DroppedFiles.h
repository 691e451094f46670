#pragma once

#include "appsvc/Win32Api.h"

#include <shellapi.h>

#include "runtime/CMStringArray.h"

// Appends the names of a drop to `paths` in drop order and finishes the drop (DragFinish), whatever
// it holds. Names are read at their full length, so long paths arrive whole. Returns the number of
// names appended.
std::int64_t ReadDroppedFiles(HDROP drop, CMStringArray& paths);
