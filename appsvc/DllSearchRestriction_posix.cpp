#include "appsvc/DllSearchRestriction.h"

// The dynamic loader looks in the program's folder only when the program asks it to (an rpath of
// $ORIGIN), which the build never does.
bool RestrictDllSearch() {
    return true;
}
