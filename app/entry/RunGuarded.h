#pragma once

class MainApp;

// Runs the application's start step (MainApp::RunMain) inside the start-up catcher and returns its
// result. An exception out of it is shown in a message box titled "运行时异常" and ends the process with
// exit code -1. With a debugger attached nothing is caught, so the debugger sees the exception where
// it is raised.
bool RunGuarded(MainApp& app);
