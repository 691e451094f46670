#pragma once

#include <string>
#include <utility>
#include <vector>

// Runs the built morvane-export (beside the test executables' folder) with `arguments` and collects
// what it prints. Standard output and error go to files, so neither is a terminal.
struct ProcessResult {
    bool started = false;
    int exitCode = -1;
    std::string output;       // UTF-8
    std::string errorOutput;  // UTF-8
};

// How the child runs, beyond its arguments; the defaults inherit everything from the test.
struct RunOptions {
    // The child's current folder; empty for the test's own.
    std::u16string workingFolder;
    // Environment variables set (or, with an empty value, removed) for the child.
    std::vector<std::pair<std::string, std::u16string>> environment;
    // POSIX only: run as an unprivileged user (uid and gid 65534), so that permissions bind; from a copy
    // of morvane-export under the system's temporary folder, which that user may reach.
    bool unprivileged = false;
    // POSIX only: the largest file the child may write (RLIMIT_FSIZE, with SIGXFSZ ignored so that the
    // write fails with EFBIG instead); negative for no limit.
    long long fileSizeLimit = -1;
    // POSIX only: a program (full path) and its arguments that start the child, as a tracer starts the
    // program it traces; empty to start it directly.
    std::vector<std::string> wrapper;
};

// Arguments are converted with EncodeFileName on POSIX, so that a test can pass bytes that are not
// UTF-8 (from DecodeFileName).
ProcessResult RunMorvaneExport(const std::vector<std::u16string>& arguments, const RunOptions& options = {});

// False, with the reason, when RunOptions::unprivileged cannot work here: the tests do not run as the
// superuser, who alone may change user, or other users may not reach the system's temporary folder.
bool CanRunUnprivileged(std::string& reason);

// POSIX only: runs morvane-export as RunMorvaneExport does and, once it says that its export has
// begun, sends it SIGINT, as Ctrl-C in a terminal does. `interrupted` tells
// whether the signal reached it while it was still running.
ProcessResult RunMorvaneExportInterrupted(const std::vector<std::u16string>& arguments, bool& interrupted);

// Windows only: another program that holds a new file for a while, as a virus scanner, the search
// indexer or a sync client does (morvane_file_holder, built beside the test executables). As soon as a
// file matching `pattern` (wildcards as FindFirstFileW takes them) appears in `folder`, it opens it for
// reading, sharing reading and writing but not deletion, holds it for `holdMs` and ends.
class FileHolder {
public:
    FileHolder(const std::u16string& folder, const std::u16string& pattern, int holdMs);
    // Ends the holder if it still runs.
    ~FileHolder();
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;

    bool Started() const { return process_ != nullptr; }
    // Waits until it holds the file; false when it ended first or did not within `timeoutMs`. Tells it
    // first to look again: a caller that knows the file's maker has closed it calls this.
    bool WaitUntilHolding(int timeoutMs) const;
    // Waits until it has let go and ended: its exit code (0 when it held the file), -1 on the timeout.
    int WaitForEnd(int timeoutMs) const;
    // Ends it now; the system closes the file it holds.
    void End();

private:
    void* process_ = nullptr;
    void* holding_ = nullptr;
    void* look_ = nullptr;
};
