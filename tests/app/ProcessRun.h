#pragma once

#include <string>
#include <vector>

// Runs the built morvane-export (beside the test executables' folder) with `arguments` and collects
// what it prints. Standard output and error go to files, so neither is a terminal.
struct ProcessResult {
    bool started = false;
    int exitCode = -1;
    std::string output;       // UTF-8
    std::string errorOutput;  // UTF-8
};

ProcessResult RunMorvaneExport(const std::vector<std::u16string>& arguments);

// POSIX only: runs morvane-export as RunMorvaneExport does and, once its export is under way (its
// listing thread has started), sends it SIGINT, as Ctrl-C in a terminal does. `interrupted` tells
// whether the signal reached it while it was still running.
ProcessResult RunMorvaneExportInterrupted(const std::vector<std::u16string>& arguments, bool& interrupted);
