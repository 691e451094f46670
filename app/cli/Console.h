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
    // process, so that the export can stop and clean up; null ends that. A second one ends the process
    // as usual. `token` must outlive its use. The token is set on a thread (on Windows the system's
    // handler thread, on POSIX one of ours that the signal handler wakes through a pipe), so that
    // setting it wakes every wait of the export.
    static void SetInterruptToken(CancelToken* token);

    // Tells whoever started the program that the export begins and an interrupt now cancels it: when
    // the environment variable MORVANE_READY_FD names an inherited descriptor (on Windows a handle), one
    // line "ready" is written to it and it is closed. A test that sends Ctrl-C waits for that line.
    static void AnnounceExportStart();
};
