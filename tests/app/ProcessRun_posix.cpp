#include "tests/app/ProcessRun.h"

#include "app/export/NameCoding.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

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

int ThreadCount(pid_t process) {
    std::string path = "/proc/" + std::to_string(process) + "/task";
    DIR* tasks = opendir(path.c_str());
    if (tasks == nullptr) {
        return 0;
    }
    int count = 0;
    while (dirent* entry = readdir(tasks)) {
        count += entry->d_name[0] != '.' ? 1 : 0;
    }
    closedir(tasks);
    return count;
}

// Waits until the child runs a second thread, then sends SIGINT; false when the child ended first.
bool InterruptOnceExporting(pid_t child) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        siginfo_t info{};
        if (waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
            info.si_pid == child) {
            return false;
        }
        if (ThreadCount(child) >= 2) {
            return kill(child, SIGINT) == 0;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
}

ProcessResult Run(const std::vector<std::u16string>& arguments, const RunOptions& options, bool interrupt,
                  bool* interrupted) {
    ProcessResult result;
    std::vector<std::string> raw{kExecutable};
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
    if (out < 0 || err < 0) {
        return result;
    }
    pid_t child = fork();
    if (child == 0) {
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
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
        execv(kExecutable, argv.data());
        _exit(127);
    }
    if (interrupt && child > 0) {
        *interrupted = InterruptOnceExporting(child);
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
