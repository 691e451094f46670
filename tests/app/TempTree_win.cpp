#include "tests/app/TempTree.h"
#include "tests/app/WidePath_win.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <windows.h>

#include <string>

namespace {

std::u16string Native(std::u16string_view relative) {
    std::u16string path(relative);
    for (char16_t& unit : path) {
        if (unit == u'/') {
            unit = u'\\';
        }
    }
    return path;
}

void MakeParents(const std::u16string& path) {
    for (std::size_t slash = path.find(u'\\', 3); slash != std::u16string::npos;
         slash = path.find(u'\\', slash + 1)) {
        CreateDirectoryW(Wide(path.substr(0, slash)), nullptr);
    }
}

void RemoveTree(const std::u16string& folder) {
    WIN32_FIND_DATAW data;
    std::u16string pattern = folder + u"\\*";
    HANDLE find = FindFirstFileW(Wide(pattern), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::u16string name(reinterpret_cast<const char16_t*>(data.cFileName));
            if (name == u"." || name == u"..") {
                continue;
            }
            std::u16string path = folder + u"\\" + name;
            SetFileAttributesW(Wide(path), FILE_ATTRIBUTE_NORMAL);
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
                RemoveTree(path);
            } else if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveDirectoryW(Wide(path));
            } else {
                DeleteFileW(Wide(path));
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(Wide(folder));
}

}  // namespace

TempTree::TempTree() {
    wchar_t base[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, base);
    std::u16string folder(reinterpret_cast<const char16_t*>(base), length);
    if (!folder.empty() && folder.back() == u'\\') {
        folder.pop_back();
    }
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        std::string suffix = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount64()) +
                             "-" + std::to_string(attempt);
        std::u16string candidate = folder + u"\\morvane-test-" + std::u16string(suffix.begin(), suffix.end());
        if (CreateDirectoryW(Wide(candidate), nullptr)) {
            root_ = candidate;
            return;
        }
    }
    ADD_FAILURE() << "cannot make a temporary folder";
}

TempTree::~TempTree() {
    if (!root_.empty()) {
        RemoveTree(root_);
    }
}

std::u16string TempTree::Path(std::u16string_view relative) const {
    return relative.empty() ? root_ : root_ + u"\\" + Native(relative);
}

void TempTree::MakeFolder(std::u16string_view relative) const {
    MakeParents(Path(relative) + u"\\");
}

void TempTree::MakeFile(std::u16string_view relative, std::int64_t size) const {
    std::u16string path = Path(relative);
    MakeParents(path);
    HANDLE file =
        CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot make a file, error " << GetLastError();
    LARGE_INTEGER end;
    end.QuadPart = size;
    EXPECT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
    CloseHandle(file);
}

void TempTree::WriteFile(std::u16string_view relative, std::string_view bytes) const {
    std::u16string path = Path(relative);
    MakeParents(path);
    HANDLE file =
        CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot write a file, error " << GetLastError();
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string TempTree::ReadFile(std::u16string_view relative) const {
    std::u16string path = Path(relative);
    HANDLE file = CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string content;
    char buffer[4096];
    DWORD count = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &count, nullptr) && count > 0) {
        content.append(buffer, count);
    }
    CloseHandle(file);
    return content;
}

bool TempTree::Exists(std::u16string_view relative) const {
    return GetFileAttributesW(Wide(Path(relative))) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::u16string> TempTree::ListNames(std::u16string_view relative) const {
    std::vector<std::u16string> names;
    WIN32_FIND_DATAW data;
    std::u16string pattern = Path(relative) + u"\\*";
    HANDLE find = FindFirstFileW(Wide(pattern), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        std::u16string name(reinterpret_cast<const char16_t*>(data.cFileName));
        if (name != u"." && name != u"..") {
            names.push_back(name);
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

void TempTree::Remove(std::u16string_view relative) const {
    EXPECT_TRUE(DeleteFileW(Wide(Path(relative)))) << "cannot remove a file, error " << GetLastError();
}

void TempTree::SetMode(std::u16string_view relative, int mode) const {
    EXPECT_TRUE(SetFileAttributesW(Wide(Path(relative)),
                                   (mode & 0200) != 0 ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY));
}
