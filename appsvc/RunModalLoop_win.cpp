#include "appsvc/CVolWtlAppModule.h"
#include "appsvc/FrameworkPreTranslate.h"
#include "appsvc/RunModalLoop.h"

int RunModalLoop(IModalLoopOwner& owner) {
    CVolWtlAppModule& module = GetAppModule();
    const HWND window = owner.GetModalWindow();
    const bool servesAsMainWindow = module.GetMainWindow() == nullptr && window != nullptr;
    if (servesAsMainWindow) {
        module.SetMainWindow(window);
    }

    owner.SetModalState(IModalLoopOwner::kModalRunning);
    owner.SetModalResult(0);
    owner.NotifyModalStarting();

    if (IsWindow(window) && owner.GetModalState() == IModalLoopOwner::kModalRunning) {
        MSG msg{};
        for (;;) {
            const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got <= 0) {
                // Swallowing WM_QUIT here would leave the outer loop waiting for ever.
                if (got == 0) {
                    PostQuitMessage(static_cast<int>(msg.wParam));
                }
                break;
            }
            if (!FrameworkPreTranslate(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            if (owner.GetModalState() != IModalLoopOwner::kModalRunning) {
                break;
            }
        }
    }

    const int result = owner.GetModalResult();
    owner.SetModalState(IModalLoopOwner::kModalIdle);
    // Only undo our own step: code run by the dialog may have installed a real main window.
    if (servesAsMainWindow && module.GetMainWindow() == window) {
        module.SetMainWindow(nullptr);
    }
    return result;
}
