#pragma once

#include <string>

#include "appsvc/Win32Api.h"

#include <shellapi.h>

// Where tests step in for the shell: they see what the window asks it and answer as it would. None in
// the program.
class ShellSeam {
public:
    virtual ~ShellSeam() = default;

    // Called instead of ShellExecuteExW, with the same record; on failure it sets the last error.
    virtual BOOL Execute(SHELLEXECUTEINFOW& info) const = 0;
};

// Opens the workbook at `path` with the program Windows associates with its type (the verb "open"),
// as a double-click in Explorer would. False when nothing could be started (no program for the type,
// the file moved away); the system then shows nothing of its own either.
bool OpenWorkbook(HWND owner, const std::u16string& path, const ShellSeam* seam = nullptr);
