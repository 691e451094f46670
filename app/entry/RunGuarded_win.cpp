#include "app/entry/RunGuarded.h"

#include "app/entry/MainApp.h"
#include "appsvc/Win32Api.h"
#include "runtime/CVolException.h"
#include "runtime/StartupCatcherText.h"

namespace {

inline constexpr UINT kFatalExitCode = static_cast<UINT>(-1);

// The start-up never resumes after an exception: the form is half made and nothing owns the error.
[[noreturn]] void EndWithMessage(const char16_t* text) {
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text),
                reinterpret_cast<const wchar_t*>(RUNTIME_EXCEPTION_CAPTION), MB_ICONERROR);
    ExitProcess(kFatalExitCode);
}

}  // namespace

bool RunGuarded(MainApp& app) {
    if (IsDebuggerPresent()) {
        return app.RunMain();
    }
    try {
        return app.RunMain();
    } catch (const CVolException& error) {
        EndWithMessage(CaughtExceptionText(error).GetText());
    } catch (...) {
        EndWithMessage(UnmanagedExceptionText());
    }
}
