#include "tests/app/ProcessRun.h"

#include "app/export/filesystem/NameCoding.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

inline constexpr char kExecutable[] = MORVANE_BINARY_DIR "/morvane-export";
inline constexpr uid_t kNobody = 65534;

std::string ReadAll(int fd) {
    std::string content;
    lseek(fd, 0, SEEK_SET);
    char buffer[4096];
    ssize_t count = 0;
    while ((count = read(fd, buffer, sizeof buffer)) > 0) {
        content.append(buffer, static_cast<std::size_t>(count));
    }
    return content;
}

int TemporaryFile() {
    char path[] = "/tmp/morvane-run-XXXXXX";
    int fd = mkstemp(path);
    if (fd >= 0) {
        unlink(path);
    }
    return fd;
}

// Waits for the child's line that its export has begun (MORVANE_READY_FD), then sends SIGINT; false
// when the child ended without it.
bool InterruptOnceExporting(pid_t child, int ready) {
    std::string line;
    char c = 0;
    while (line != "ready\n" && read(ready, &c, 1) == 1) {
        line += c;
    }
    return line == "ready\n" && kill(child, SIGINT) == 0;
}

ProcessResult Run(const std::vector<std::u16string>& arguments, const RunOptions& options, bool interrupt,
                  bool* interrupted) {
    ProcessResult result;
    std::vector<std::string> raw(options.wrapper);
    raw.push_back(kExecutable);
    for (const std::u16string& argument : arguments) {
        raw.push_back(EncodeFileName(argument));
    }
    std::vector<char*> argv;
    for (std::string& argument : raw) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    int out = TemporaryFile();
    int err = TemporaryFile();
    // The child's line that its export has begun, when it is to be interrupted.
    int ready[2] = {-1, -1};
    if (out < 0 || err < 0 || (interrupt && pipe2(ready, O_CLOEXEC) != 0)) {
        return result;
    }
    pid_t child = fork();
    if (child == 0) {
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        if (interrupt) {
            // The copy dup makes stays open across exec.
            int announce = dup(ready[1]);
            setenv("MORVANE_READY_FD", std::to_string(announce).c_str(), 1);
        }
        for (const auto& [name, value] : options.environment) {
            if (value.empty()) {
                unsetenv(name.c_str());
            } else {
                setenv(name.c_str(), EncodeFileName(value).c_str(), 1);
            }
        }
        if (!options.workingFolder.empty() && chdir(EncodeFileName(options.workingFolder).c_str()) != 0) {
            _exit(126);
        }
        if (options.fileSizeLimit >= 0) {
            signal(SIGXFSZ, SIG_IGN);
            rlimit limit{static_cast<rlim_t>(options.fileSizeLimit),
                         static_cast<rlim_t>(options.fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (options.unprivileged &&
            (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
            _exit(126);
        }
        execv(raw[0].c_str(), argv.data());
        _exit(127);
    }
    if (interrupt) {
        close(ready[1]);
        *interrupted = child > 0 && InterruptOnceExporting(child, ready[0]);
        close(ready[0]);
    }
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
        result.started = result.exitCode != 127 && result.exitCode != 126;
    }
    result.output = ReadAll(out);
    result.errorOutput = ReadAll(err);
    close(out);
    close(err);
    return result;
}

}  // namespace

bool CanRunUnprivileged(std::string& reason) {
    if (geteuid() != 0) {
        reason = "the tests do not run as the superuser, so they cannot start a child as another user";
        return false;
    }
    return true;
}

ProcessResult RunMorvaneExport(const std::vector<std::u16string>& arguments, const RunOptions& options) {
    return Run(arguments, options, false, nullptr);
}

ProcessResult RunMorvaneExportInterrupted(const std::vector<std::u16string>& arguments, bool& interrupted) {
    interrupted = false;
    return Run(arguments, RunOptions{}, true, &interrupted);
}
