#pragma once

#include "app/export/filesystem/CancelToken.h"

#include <string>
#include <string_view>
#include <vector>

// The process's text streams and arguments, in the program's UTF-16.
class Console {
public:
    enum class Stream { Output, Error };

    // The arguments after the program name (on Windows from the wide command line; on POSIX read as
    // UTF-8, with the bytes that are not carried through unchanged, see DecodeFileName).
    static std::vector<std::u16string> Arguments(int argc, char** argv);

    // Writes text as UTF-8 (on a Windows console, as wide text).
    static void Write(Stream stream, std::u16string_view text);

    // True when the stream goes to a terminal.
    static bool IsTerminal(Stream stream);

    // From now on Ctrl-C (SIGINT; on Windows also Ctrl-Break) sets `token` instead of ending the
    // process, so that the export can stop and clean up. A second one ends the process as usual.
    // `token` must outlive the process's run. On Windows the system runs the handler on a thread of its
    // own, which wakes the export's waits; on POSIX a signal handler may only store the flag.
    static void SetInterruptToken(CancelToken* token);

    // Tells whoever started the program that the export begins and an interrupt now cancels it: when
    // the environment variable MORVANE_READY_FD names an inherited descriptor (on Windows a handle), one
    // line "ready" is written to it and it is closed. A test that sends Ctrl-C waits for that line.
    static void AnnounceExportStart();
};
