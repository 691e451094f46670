#pragma once

// Ends the process at once with exit code -1 (0xFFFFFFFF on Windows, 255 as seen by a POSIX parent).
// Memory exhaustion is not reported to callers anywhere in the library: no message, no exception, no
// cleanup, since nothing can be trusted to run without memory.
[[noreturn]] void ExitOnOutOfMemory();
