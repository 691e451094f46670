#pragma once

#include <vector>

#include "appsvc/Win32Api.h"

// How the framework registers one of its window classes (container, form, label). A description is a
// static object of the native window class that uses it; it records the atom once registered.
struct WindowClassDescription {
    static inline constexpr int kGeneratedNameLength = 4 + 16;  // "ATL:" and 16 hexadecimal digits

    const char16_t* name = nullptr;       // null: "ATL:" and the description's address in hexadecimal
    const char16_t* baseClass = nullptr;  // an existing class to superclass, or null for an own class
    UINT style = 0;
    const wchar_t* cursor = nullptr;  // system cursor id (IDC_*) of an own class; null for none
    HBRUSH background = nullptr;
    WNDPROC procedure = nullptr;  // the framework's window procedure

    // Filled by registration.
    ATOM atom = 0;
    WNDPROC baseProcedure = nullptr;  // the superclassed class's procedure, for default processing
    char16_t generatedName[kGeneratedNameLength + 1] = {};
};

// Registers the framework's window classes, each once per process, under one lock, and keeps the list
// of registered atoms.
class WindowClassRegistry {
public:
    // The class's atom, registering it on first use; 0 when registration fails (or the class to
    // superclass does not exist). Classes are registered without CS_GLOBALCLASS.
    static ATOM Register(WindowClassDescription& description, HINSTANCE instance);

    // Every atom registered so far, in registration order.
    static std::vector<ATOM> RegisteredAtoms();
};
