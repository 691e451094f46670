#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A real folder tree under the system's temporary folder for one test, removed again afterwards.
// Relative paths are written with "/" and turned into the platform's separator. On POSIX, names are
// converted with EncodeFileName, so a test can name bytes that are not UTF-8 (from DecodeFileName).
class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // The root folder, without a trailing separator.
    const std::u16string& Root() const { return root_; }
    // Root joined with `relative`.
    std::u16string Path(std::u16string_view relative) const;

    // Makes a folder (and its parents).
    void MakeFolder(std::u16string_view relative) const;
    // Makes a file of `size` bytes (sparse where the file system allows), with its parent folders.
    void MakeFile(std::u16string_view relative, std::int64_t size = 0) const;
    // Writes `bytes` as the file's whole content.
    void WriteFile(std::u16string_view relative, std::string_view bytes) const;
    // The file's content, or the empty text when it cannot be read.
    std::string ReadFile(std::u16string_view relative) const;
    bool Exists(std::u16string_view relative) const;
    // Removes a file.
    void Remove(std::u16string_view relative) const;
    // Sets the permission bits of a file or folder (the root with an empty text). POSIX only; on
    // Windows the read-only attribute follows the owner's write bit.
    void SetMode(std::u16string_view relative, int mode) const;
    // Names directly in a folder, without "." and "..", sorted.
    std::vector<std::u16string> ListNames(std::u16string_view relative = {}) const;

private:
    std::u16string root_;
};
