#include "app/cli/Console.h"

#include "app/export/NameCoding.h"

#include <unistd.h>
#include <csignal>
#include <cstdio>

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
