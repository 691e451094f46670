#include "app/export/FileOperations.h"

#include "app/export/NameCoding.h"
#include "app/export/SystemErrorText.h"

#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <string>

bool MoveFileOver(std::u16string_view from, std::u16string_view to, FileSystemError& error) {
    std::string source = EncodeUtf8(from);
    std::string target = EncodeUtf8(to);
    if (std::rename(source.c_str(), target.c_str()) != 0) {
        error.code = errno;
        error.operation = "rename";
        error.path = std::u16string(to);
        error.message = SystemErrorText(error.code);
        return false;
    }
    return true;
}

void RemoveFileQuietly(std::u16string_view path) {
    std::string raw = EncodeUtf8(path);
    unlink(raw.c_str());
}

std::u16string LastSystemErrorText() {
    return errno != 0 ? SystemErrorText(errno) : std::u16string();
}

void ClearSystemError() {
    errno = 0;
}
