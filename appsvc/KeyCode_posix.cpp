#include "appsvc/KeyCode.h"

// There is no keyboard state to read outside Windows: nothing is held.
ModifierKeys CurrentModifierKeys() {
    return ModifierKeys{};
}
