#include "app/export/filesystem/TemporaryFileClaim.h"

#include "app/export/filesystem/FilePath.h"
#include "app/export/filesystem/SystemPath.h"

#include <windows.h>

#include <string>
#include <vector>

// The file's writer holds it without sharing its deletion while it writes.
TemporaryFileClaim::TemporaryFileClaim(std::u16string_view) {}

TemporaryFileClaim::~TemporaryFileClaim() = default;

int RemoveUnclaimedFiles(std::u16string_view folder, bool (*isTemporaryName)(std::u16string_view name)) {
    std::u16string pattern(folder);
    if (!pattern.empty() && !IsPathSeparator(pattern.back())) {
        pattern += PathSeparator();
    }
    const std::u16string folderPath = pattern;
    // Only names that may be temporary ones are fetched, however large the folder.
    pattern += u"~*.tmp";
    const SystemPath patternForm(pattern);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW(reinterpret_cast<const wchar_t*>(patternForm.Form().c_str()),
                                   FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) {
        return 0;
    }
    std::vector<std::u16string> found;
    do {
        const std::u16string_view name(reinterpret_cast<const char16_t*>(data.cFileName));
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && isTemporaryName(name)) {
            found.push_back(folderPath + std::u16string(name));
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    int removed = 0;
    for (const std::u16string& path : found) {
        // Refused while a running export writes the file, or another program holds it so.
        const SystemPath file(path);
        removed += DeleteFileW(reinterpret_cast<const wchar_t*>(file.Form().c_str())) ? 1 : 0;
    }
    return removed;
}
