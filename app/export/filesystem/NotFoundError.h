#pragma once

// True for the system's error numbers (errno on POSIX, a Win32 error code on Windows) that say a path
// leads nowhere: it, or a folder on its way, is gone or was replaced by a file, or it is a link whose
// target is gone or that loops. The listing takes such an entry for neither file nor folder, and such
// a sub-folder for one that vanished.
bool IsNotFoundError(int code);
