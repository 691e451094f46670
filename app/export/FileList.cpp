#include "app/export/FileList.h"

void FileList::Append(const char16_t* path, std::int64_t size, std::int64_t creationTime) {
    paths_.Append(path);
    facts_.push_back(Facts{size, creationTime});
}

void FileList::Clear() {
    paths_.Clear();
    facts_.clear();
}
