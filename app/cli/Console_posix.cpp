#include "app/cli/Console.h"

#include "app/export/filesystem/NameCoding.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

std::vector<std::u16string> Console::Arguments(int argc, char** argv) {
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(DecodeFileName(argv[i]));
    }
    return arguments;
}

void Console::Write(Stream stream, std::u16string_view text) {
    std::FILE* file = stream == Stream::Output ? stdout : stderr;
    std::string bytes = EncodeUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fflush(file);
}

bool Console::IsTerminal(Stream stream) {
    return isatty(stream == Stream::Output ? STDOUT_FILENO : STDERR_FILENO) == 1;
}

namespace {

// The self-pipe: a signal handler may not take the locks that setting the token takes, so it only
// writes a byte, and a thread of its own reads it and sets the token, which wakes every wait.
int interruptPipe[2] = {-1, -1};
std::thread* interruptThread = nullptr;

inline constexpr char kInterrupted = 'i';
inline constexpr char kDone = 'q';

void OnInterrupt(int) {
    const int saved = errno;
    const char byte = kInterrupted;
    [[maybe_unused]] ssize_t written = write(interruptPipe[1], &byte, 1);
    errno = saved;
}

void WatchInterrupts(CancelToken* token) {
    for (;;) {
        char byte = 0;
        const ssize_t got = read(interruptPipe[0], &byte, 1);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got != 1 || byte == kDone) {
            return;
        }
        token->Set();
    }
}

void InstallHandler(void (*handler)(int), int flags) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = flags;
    sigaction(SIGINT, &action, nullptr);
}

void StopWatching() {
    if (interruptThread == nullptr) {
        return;
    }
    InstallHandler(SIG_DFL, 0);
    const char byte = kDone;
    [[maybe_unused]] ssize_t written = write(interruptPipe[1], &byte, 1);
    interruptThread->join();
    delete interruptThread;
    interruptThread = nullptr;
    close(interruptPipe[0]);
    close(interruptPipe[1]);
    interruptPipe[0] = interruptPipe[1] = -1;
}

}  // namespace

void Console::SetInterruptToken(CancelToken* token) {
    StopWatching();
    if (token == nullptr || pipe2(interruptPipe, O_CLOEXEC) != 0) {
        return;
    }
    interruptThread = new std::thread(WatchInterrupts, token);
    // The first Ctrl-C asks; a second one, with the default action back, ends the process.
    InstallHandler(&OnInterrupt, SA_RESETHAND | SA_RESTART);
}

void Console::AnnounceExportStart() {
    const char* named = std::getenv("MORVANE_READY_FD");
    if (named == nullptr || *named == '\0') {
        return;
    }
    char* end = nullptr;
    long fd = std::strtol(named, &end, 10);
    if (*end != '\0' || fd < 0 || fd > 1024 * 1024) {
        return;
    }
    static constexpr char kLine[] = "ready\n";
    if (write(static_cast<int>(fd), kLine, sizeof kLine - 1) < 0) {
        return;  // nobody listens: nothing to tell
    }
    close(static_cast<int>(fd));
}
