#include "runtime/ExitOnOutOfMemory.h"

#include <cstdlib>

void ExitOnOutOfMemory() {
    // _Exit skips atexit handlers and static destructors, which may themselves need memory.
    std::_Exit(-1);
}
