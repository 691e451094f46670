#include "app/cli/CommandLine.h"

bool IsPlatformHelpOption(std::u16string_view argument) {
    return argument == u"/?";
}
