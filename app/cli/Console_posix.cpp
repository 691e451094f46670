#include "app/cli/Console.h"

#include "app/export/filesystem/NameCoding.h"

#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>

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

CancelToken* interruptToken = nullptr;

// A lock-free atomic store is all a signal handler may do here.
void OnInterrupt(int) {
    interruptToken->SetFromSignalHandler();
}

}  // namespace

void Console::SetInterruptToken(CancelToken* token) {
    interruptToken = token;
    struct sigaction action {};
    action.sa_handler = &OnInterrupt;
    sigemptyset(&action.sa_mask);
    // The first Ctrl-C asks; a second one, with the default action back, ends the process.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
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
