#include "tests/app/ProcessRun.h"

#include "app/export/NameCoding.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>

namespace {

inline constexpr char kExecutable[] = MORVANE_BINARY_DIR "/morvane-export";

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

ProcessResult RunMorvaneExport(const std::vector<std::u16string>& arguments) {
    ProcessResult result;
    std::vector<std::string> raw{kExecutable};
    for (const std::u16string& argument : arguments) {
        raw.push_back(EncodeUtf8(argument));
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
        execv(kExecutable, argv.data());
        _exit(127);
    }
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
        result.started = result.exitCode != 127;
    }
    result.output = ReadAll(out);
    result.errorOutput = ReadAll(err);
    close(out);
    close(err);
    return result;
}
