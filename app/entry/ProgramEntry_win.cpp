#include "app/entry/ProgramEntry.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include "app/entry/MainApp.h"
#include "app/entry/MainLoop.h"
#include "app/entry/RunGuarded.h"
#include "app/export/filesystem/FileOperations.h"
#include "appsvc/CVolAppInstance.h"
#include "appsvc/CVolWtlAppModule.h"
#include "appsvc/DisplayMetrics.h"
#include "appsvc/DllSearchRestriction.h"

#include <chrono>

namespace {

inline constexpr UINT kFatalExitCode = static_cast<UINT>(-1);
// The eight classes every framework window may rely on.
inline constexpr DWORD kCommonControlClasses = ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                                               ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS |
                                               ICC_HOTKEY_CLASS | ICC_ANIMATE_CLASS;
static_assert(kCommonControlClasses == 0xFF);

void RecordProcessValues(HINSTANCE instance) {
    CVolAppInstance& appInstance = GetAppInstance();
    appInstance.SetInstanceHandle(instance);
    // The first argument may name a folder to open (MainApp). The vector lives as long as the process.
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    appInstance.SetArguments(argv != nullptr ? argc : 0, reinterpret_cast<char16_t**>(argv));
    appInstance.SetMainThreadId(GetCurrentThreadId());
}

// The application object of `appRecord`; the process ends when it is not a MainApp, since nothing
// else can start the program.
MainApp& CreateApplication(const CVolClassInfo& appRecord) {
    const CVolClassInfo::Creator creator = appRecord.GetCreator();
    CVolObject* object = creator != nullptr ? creator() : nullptr;
    if (object == nullptr || !object->IsKindOf(MainApp::ClassInfo())) {
        DestroyObject(object);
        ExitProcess(kFatalExitCode);
    }
    auto& app = static_cast<MainApp&>(*object);
    GetAppInstance().SetCurrentApp(&app);
    return app;
}

// How long the process stays, at most, after its window has closed, for such a file.
inline constexpr std::chrono::milliseconds kDeferredRemovalWaitAtExit{5000};

}  // namespace

int RunProgram(HINSTANCE instance, const CVolClassInfo& appRecord) {
    // First of all, before anything loads a DLL by name: not from the program's folder.
    RestrictDllSearch();
    if (instance == nullptr) {
        instance = GetModuleHandleW(nullptr);
    }
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = kCommonControlClasses;
    InitCommonControlsEx(&controls);  // without them the system classes still work

    CVolWtlAppModule& module = GetAppModule();
    module.Init();  // without a loop registry the loop still runs; only its lookup by thread fails
    RecordProcessValues(instance);

    // S_FALSE (already initialised on this thread) counts as success. COM is uninitialised by the
    // application instance at process exit.
    GetAppInstance().SetComInitialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ComputeDisplayScale();

    MainApp& app = CreateApplication(appRecord);
    const bool started = RunGuarded(app);
    int exitCode = started ? 0 : -1;
    if (started) {
        // MainApp is a CVolWinApp, so it always owns the loop's hooks.
        if (module.GetMainWindow() != nullptr) {
            exitCode = RunMainLoop(app);
        }
        app.OnMessageLoopEnd();
        // The window is gone; a temporary file of an export that another program (a scanner) still
        // holds is removed as soon as it lets go, if it does within a few seconds.
        WaitForDeferredRemovals(kDeferredRemovalWaitAtExit);
    }

    // Workers, the application object with its form and windows, retained objects, libraries, GDI+.
    GetAppInstance().ShutDown();
    module.Term();
    return exitCode;
}
