#include "app/entry/MainLoop.h"
#include "appsvc/CVolMainMessageLoop.h"
#include "appsvc/CVolWinApp.h"
#include "appsvc/CVolWtlAppModule.h"

int RunMainLoop(CVolWinApp& loopOwner) {
    CVolWtlAppModule& module = GetAppModule();
    CVolMainMessageLoop loop(&loopOwner);
    module.AddMessageLoop(&loop);
    const int exitCode = loop.Run();
    module.RemoveMessageLoop();
    loop.ClearHandlers();  // the filter and idle-handler arrays go with the loop
    return exitCode;
}
