#include "tests/app/ProcessRun.h"

#include "app/export/NameCoding.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>

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

}  // namespace

bool CanRunUnprivileged(std::string& reason) {
    if (geteuid() != 0) {
        reason = "the tests do not run as the superuser, so they cannot start a child as another user";
        return false;
    }
    return true;
}

ProcessResult RunMorvaneExport(const std::vector<std::u16string>& arguments, const RunOptions& options) {
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
