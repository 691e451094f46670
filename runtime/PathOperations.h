#pragma once

#include "runtime/CWString.h"

// Path texts as the program handles them: the platform's separator (backslash on Windows, slash on
// POSIX), and on Windows the drive forms "C:\" and "C:\...".
struct PathStyle {
    char16_t separator;
    bool driveRoots;  // "X:" followed by the separator starts an absolute path and "X:\" is a root
};

inline constexpr PathStyle kWindowsPathStyle{u'\\', true};
inline constexpr PathStyle kPosixPathStyle{u'/', false};

// The style of the platform the program runs on.
const PathStyle& NativePathStyle();

// The directory of the running program, ending with a separator. False (and `out` empty) when the
// program's path cannot be read.
bool GetProgramDirectory(CWString& out);

// True when the file-system object named by `path` exists (its attributes can be read). Null or
// empty is false; one trailing separator is ignored unless it makes a drive root ("C:\").
bool PathExists(const char16_t* path);

// `path` without one trailing separator, as PathExists tests it: only texts of at least two code
// units lose it, and in the Windows style not after a colon.
CWString PathWithoutTrailingSeparator(const char16_t* path, const PathStyle& style = NativePathStyle());

// Joins a base directory and a relative path. An empty relative path gives the base, an empty base the
// relative path, and an absolute relative path (leading separator, or "X:\" in the Windows style) is
// returned as it is. Otherwise the two are joined with one separator; then "\.\" becomes "\" and
// "\seg\..\" becomes "\" (written here with the Windows separator). When a ".." has no segment before
// it to remove, the relative path is returned unchanged.
CWString PathJoin(const char16_t* base, const char16_t* relative, const PathStyle& style = NativePathStyle());
