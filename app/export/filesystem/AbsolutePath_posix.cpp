#include "app/export/filesystem/AbsolutePath.h"

#include "app/export/filesystem/NameCoding.h"

#include <unistd.h>
#include <cerrno>
#include <string>

namespace {

// The current folder; getcwd gives it without links, so ".." right after it is its parent.
bool CurrentFolder(std::string& folder) {
    folder.resize(4096);
    for (;;) {
        if (getcwd(folder.data(), folder.size()) != nullptr) {
            folder.resize(folder.find('\0'));
            return true;
        }
        if (errno != ERANGE) {
            return false;
        }
        folder.resize(folder.size() * 2);
    }
}

}  // namespace

std::u16string AbsolutePath(std::u16string_view text) {
    if (text.empty() || text.front() == u'/') {
        return std::u16string(text);
    }
    std::string folder;
    if (!CurrentFolder(folder)) {
        return {};
    }
    // Leading "." and ".." steps are taken against the current folder; the rest of the text is joined
    // as typed (a ".." after a link in it must still go through the link).
    std::u16string_view rest = text;
    while (!rest.empty()) {
        std::size_t slash = rest.find(u'/');
        std::u16string_view step = rest.substr(0, slash);
        if (step == u"..") {
            std::size_t parent = folder.rfind('/');
            folder.resize(parent == 0 ? 1 : parent);
        } else if (step != u"." && !step.empty()) {
            break;
        }
        rest = slash == std::u16string_view::npos ? std::u16string_view{} : rest.substr(slash + 1);
    }
    std::u16string absolute = DecodeFileName(folder);
    if (!rest.empty()) {
        if (absolute.back() != u'/') {
            absolute += u'/';
        }
        absolute += rest;
    }
    return absolute;
}
