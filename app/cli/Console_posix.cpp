#include "app/cli/Console.h"

#include "app/export/NameCoding.h"

#include <unistd.h>
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
