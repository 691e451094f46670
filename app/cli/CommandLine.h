#pragma once

#include <string>
#include <string_view>
#include <vector>

// What morvane-export was asked to do:  morvane-export [-r|--recursive] [-o|--output FILE] FOLDER, or
// --help, --version.
struct CommandLine {
    enum class Action { Export, Help, Version, UsageError };

    Action action = Action::UsageError;
    bool recursive = false;
    std::u16string folder;
    // Where the workbook goes; empty for the folder's own "文件清单_.xlsx".
    std::u16string output;
    // Why the arguments were refused, for UsageError.
    std::u16string problem;
};

// Reads the arguments after the program name. "--" ends the options, so a folder may start with "-".
CommandLine ParseCommandLine(const std::vector<std::u16string>& arguments);

// The first line of the usage, which a usage error repeats.
std::u16string UsageLine();

// The text --help prints.
std::u16string UsageText();

// True for the platform's own way of asking for help: "/?" on Windows, as its tools take it; nothing
// elsewhere, where "/?" is a path.
bool IsPlatformHelpOption(std::u16string_view argument);
