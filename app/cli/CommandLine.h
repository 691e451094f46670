#pragma once

#include <string>
#include <vector>

// What morvane-export was asked to do:  morvane-export [-r|--recursive] FOLDER, or --help, --version.
struct CommandLine {
    enum class Action { Export, Help, Version, UsageError };

    Action action = Action::UsageError;
    bool recursive = false;
    std::u16string folder;
    // Why the arguments were refused, for UsageError.
    std::u16string problem;
};

// Reads the arguments after the program name. "--" ends the options, so a folder may start with "-".
CommandLine ParseCommandLine(const std::vector<std::u16string>& arguments);

// The text --help prints.
std::u16string UsageText();
