#pragma once

#include <string>
#include <string_view>

// The form of a path to hand to the system's file calls, valid for as long as this object lives: every
// caller keeps it while the system (or a library) may still use that form.
//
// On Windows a path too long for the classic limit (MAX_PATH) has its "\\?\" form (normalised first,
// since that form is taken literally), so that folders of any length Windows allows work without the
// system's long-path setting. On Linux a path of PATH_MAX bytes or more has the form
// "/proc/self/fd/N/name", N a descriptor of its folder opened one component at a time, which this
// object owns and closes. Other paths keep their own form.
class SystemPath {
public:
    explicit SystemPath(std::u16string_view path);
    ~SystemPath();
    SystemPath(SystemPath&& other) noexcept;
    SystemPath& operator=(SystemPath&& other) noexcept;
    SystemPath(const SystemPath&) = delete;
    SystemPath& operator=(const SystemPath&) = delete;

    const std::u16string& Form() const { return form_; }

private:
    std::u16string form_;
    // The folder that a "/proc/self/fd/N/name" form goes through; -1 without one (always on Windows).
    int folder_ = -1;
};
