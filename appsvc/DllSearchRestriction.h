#pragma once

// Called first by both programs, before anything loads a DLL: from then on a DLL named without a
// folder is looked for in the system folder only, never in the program's own folder (often Downloads,
// where a web page can leave a DLL of any name) or the current one.
//
// Windows uses SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32), looked up at run time since
// Windows 7 without update KB2533623 lacks it; there SetDllDirectoryW(L"") at least takes the current
// folder out of the search. Returns true when the search was restricted to the system folder, false
// when only the fallback applied. Elsewhere it does nothing and returns true.
bool RestrictDllSearch();
