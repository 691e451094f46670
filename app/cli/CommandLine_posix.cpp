#include "app/cli/CommandLine.h"

bool IsPlatformHelpOption(std::u16string_view) {
    return false;
}
