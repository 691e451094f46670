#pragma once

#include <string>

// A failure of the file system, as returned (never thrown) by the file layer.
struct FileSystemError {
    // What was being done, such as "directory_iterator::operator++".
    std::string operation;
    // The path concerned, for display (U+FFFD where a name is not valid Unicode).
    std::u16string path;
    // The system's own text for the error.
    std::u16string message;
    // The system's error number (errno or GetLastError), 0 when none.
    int code = 0;
    // Where a replacement that stopped half-way left the new file and the one it was to replace, with
    // the name they were meant for left empty (FileOperations.h); empty otherwise.
    std::u16string newFileLeftAt;
    std::u16string earlierFileLeftAt;
};
