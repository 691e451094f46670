#include "ui/WindowClassRegistry.h"

#include <cstdint>
#include <mutex>

namespace {

std::mutex& RegistrationLock() {
    static std::mutex lock;
    return lock;
}

std::vector<ATOM>& Atoms() {
    static std::vector<ATOM> atoms;
    return atoms;
}

const wchar_t* Wide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}

void GenerateName(WindowClassDescription& description) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    char16_t* out = description.generatedName;
    for (const char16_t unit : u"ATL:") {
        if (unit != 0) {
            *out++ = unit;
        }
    }
    auto address = reinterpret_cast<std::uintptr_t>(&description);
    for (int shift = 60; shift >= 0; shift -= 4) {
        *out++ = kDigits[(address >> shift) & 0xF];
    }
    *out = 0;
}

// The class to superclass: the program's own classes first, then the system's.
bool FindBaseClass(const char16_t* name, HINSTANCE instance, WNDCLASSEXW& info) {
    info = {};
    info.cbSize = sizeof(info);
    if (GetClassInfoExW(instance, Wide(name), &info)) {
        return true;
    }
    info = {};
    info.cbSize = sizeof(info);
    return GetClassInfoExW(nullptr, Wide(name), &info) != FALSE;
}

}  // namespace

ATOM WindowClassRegistry::Register(WindowClassDescription& description, HINSTANCE instance) {
    const std::lock_guard<std::mutex> guard(RegistrationLock());
    if (description.atom != 0) {
        return description.atom;
    }
    const char16_t* name = description.name;
    if (name == nullptr) {
        GenerateName(description);
        name = description.generatedName;
    }

    WNDCLASSEXW info{};
    if (description.baseClass != nullptr) {
        if (!FindBaseClass(description.baseClass, instance, info)) {
            return 0;
        }
        description.baseProcedure = info.lpfnWndProc;
    } else {
        info.cbSize = sizeof(info);
        info.style = description.style;
        info.hCursor = description.cursor != nullptr ? LoadCursorW(nullptr, description.cursor) : nullptr;
        info.hbrBackground = description.background;
        description.baseProcedure = DefWindowProcW;
    }
    info.cbSize = sizeof(info);
    info.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
    info.lpfnWndProc = description.procedure;
    info.hInstance = instance;
    info.lpszClassName = Wide(name);
    info.lpszMenuName = nullptr;

    const ATOM atom = RegisterClassExW(&info);
    if (atom != 0) {
        description.atom = atom;
        Atoms().push_back(atom);
    }
    return atom;
}

std::vector<ATOM> WindowClassRegistry::RegisteredAtoms() {
    const std::lock_guard<std::mutex> guard(RegistrationLock());
    return Atoms();
}
