#include "app/entry/MainApp.h"
#include "app/entry/ProgramEntry.h"
#include "appsvc/Win32Api.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*showCommand*/) {
    return RunProgram(instance, MainApp::ClassInfo());
}
