#include "app/export/filesystem/SystemPath.h"

#include <utility>

SystemPath::SystemPath(SystemPath&& other) noexcept
    : form_(std::move(other.form_)), folder_(std::exchange(other.folder_, -1)) {}

// The form and the folder it needs are swapped, so what this object held goes with `other`.
SystemPath& SystemPath::operator=(SystemPath&& other) noexcept {
    std::swap(form_, other.form_);
    std::swap(folder_, other.folder_);
    return *this;
}
