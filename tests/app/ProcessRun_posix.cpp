#include "tests/app/ProcessRun.h"

#include "app/export/filesystem/NameCoding.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

inline constexpr char kExecutable[] = MORVANE_BINARY_DIR "/morvane-export";
inline constexpr uid_t kNobody = 65534;

// The morvane-export that a child run as another user starts: a copy in a folder of its own under the
// system's temporary folder (where the tests' trees are too), since the build folder may lie under one
// that only its owner may enter, such as a checkout in /root. Made at the first use; removed when the
// tests end.
class SharedExecutable {
public:
    SharedExecutable() = default;
    ~SharedExecutable() {
        if (!path_.empty()) {
            unlink(path_.c_str());
        }
        if (!folder_.empty()) {
            rmdir(folder_.c_str());
        }
    }
    SharedExecutable(const SharedExecutable&) = delete;
    SharedExecutable& operator=(const SharedExecutable&) = delete;

    // The copy's path; empty, with the reason, when there can be none.
    const std::string& Path(std::string& reason) {
        if (!tried_) {
            tried_ = true;
            Make();
        }
        reason = failure_;
        return path_;
    }

private:
    void Make() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern =
            std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/morvane-exec-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            failure_ =
                "no folder for a copy of morvane-export under " + pattern + ": " + std::strerror(errno);
            return;
        }
        folder_ = pattern;
        // Every folder on the way must let other users through.
        for (std::string folder = folder_; folder.size() > 1; folder = folder.substr(0, folder.rfind('/'))) {
            struct stat status {};
            if (folder != folder_ &&
                (stat(folder.c_str(), &status) != 0 || (status.st_mode & S_IXOTH) == 0)) {
                failure_ = "other users may not enter " + folder + ", where the tests' files are made";
                return;
            }
        }
        std::string copy = folder_ + "/morvane-export";
        if (chmod(folder_.c_str(), 0755) != 0 || !CopyFile(kExecutable, copy)) {
            failure_ = "morvane-export could not be copied to " + folder_ + ": " + std::strerror(errno);
            unlink(copy.c_str());
            return;
        }
        path_ = copy;
    }

    static bool CopyFile(const char* from, const std::string& to) {
        const int in = open(from, O_RDONLY | O_CLOEXEC);
        const int out = in < 0 ? -1 : open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0755);
        bool copied = out >= 0;
        char buffer[65536];
        ssize_t count = 0;
        while (copied && (count = read(in, buffer, sizeof buffer)) > 0) {
            copied = write(out, buffer, static_cast<std::size_t>(count)) == count;
        }
        copied = copied && count == 0 && fchmod(out, 0755) == 0;
        copied = (out < 0 || close(out) == 0) && copied;
        if (in >= 0) {
            close(in);
        }
        return copied;
    }

    bool tried_ = false;
    std::string folder_;
    std::string path_;
    std::string failure_;
};

SharedExecutable sharedExecutable;

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
    std::string unused;
    const std::string executable = options.unprivileged ? sharedExecutable.Path(unused) : kExecutable;
    std::vector<std::string> raw(options.wrapper);
    raw.push_back(executable);
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
    return !sharedExecutable.Path(reason).empty();
}

ProcessResult RunMorvaneExport(const std::vector<std::u16string>& arguments, const RunOptions& options) {
    return Run(arguments, options, false, nullptr);
}

ProcessResult RunMorvaneExportInterrupted(const std::vector<std::u16string>& arguments, bool& interrupted) {
    interrupted = false;
    return Run(arguments, RunOptions{}, true, &interrupted);
}
