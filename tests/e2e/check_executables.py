#!/usr/bin/python3
"""The built programs as they are shipped, read with objdump from binutils-mingw-w64.

  check_executables.py --root SOURCE --gui MORVANE.EXE --console MORVANE-EXPORT.EXE

Each must be a 64-bit image with high-entropy ASLR, a dynamic base, DEP and Terminal Server awareness,
of the right subsystem, importing only DLLs that Windows 7 always takes from the system folder (its
KnownDLLs) or comctl32 (which the manifest sends to the side-by-side store): a DLL of any other name
would be looked for in the program's folder first, before any code of ours runs. Its header's time
stamp is fixed (zero) and the checkout's folder is nowhere inside, so that two builds of one commit are
the same. Exits 1 on any difference.
"""
import argparse
import os
import re
import struct
import subprocess
import sys

OBJDUMP = "x86_64-w64-mingw32-objdump"

# HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs of Windows 7 SP1, plus comctl32.
ALLOWED_IMPORTS = {
    "advapi32.dll", "clbcatq.dll", "comdlg32.dll", "difxapi.dll", "gdi32.dll", "iertutil.dll",
    "imagehlp.dll", "imm32.dll", "kernel32.dll", "lpk.dll", "msctf.dll", "msvcrt.dll", "normaliz.dll",
    "nsi.dll", "ole32.dll", "oleaut32.dll", "psapi.dll", "setupapi.dll", "shell32.dll", "shlwapi.dll",
    "urlmon.dll", "user32.dll", "usp10.dll", "wininet.dll", "wldap32.dll", "ws2_32.dll",
    "comctl32.dll",
}
FLAGS = ["HIGH_ENTROPY_VA", "DYNAMIC_BASE", "NX_COMPAT", "TERMINAL_SERVICE_AWARE"]
SUBSYSTEMS = {"gui": "(Windows GUI)", "console": "(Windows CUI)"}


def header_time_stamp(data):
    """TimeDateStamp of the COFF file header: 4 bytes after the machine and section count."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<I", data, pe + 8)[0]


def check(path, kind, root, problems):
    name = os.path.basename(path)
    text = subprocess.run([OBJDUMP, "-p", path], capture_output=True, text=True, check=True).stdout
    lines = [line.strip() for line in text.splitlines()]
    if "file format pei-x86-64" not in text:
        problems.append("%s: not a 64-bit image" % name)
    for flag in FLAGS:
        if flag not in lines:
            problems.append("%s: %s missing" % (name, flag))
    subsystem = [line for line in lines if line.startswith("Subsystem")]
    if len(subsystem) != 1 or not subsystem[0].endswith(SUBSYSTEMS[kind]):
        problems.append("%s: subsystem %r, expected %s" % (name, subsystem, SUBSYSTEMS[kind]))
    imports = sorted({line.split(":", 1)[1].strip().lower() for line in lines if line.startswith("DLL Name:")})
    if "kernel32.dll" not in imports:
        problems.append("%s: no imports found (%r)" % (name, imports))
    unexpected = [dll for dll in imports if dll not in ALLOWED_IMPORTS]
    if unexpected:
        problems.append("%s imports DLLs the loader may take from the program's folder: %s" %
                        (name, ", ".join(unexpected)))

    with open(path, "rb") as f:
        data = f.read()
    stamp = header_time_stamp(data)
    if stamp != 0:
        problems.append("%s: header time stamp %r, expected 0" % (name, stamp))
    # As text, and as tools make symbol names of a path (every other character an underscore).
    forms = {"utf-8": root.encode("utf-8"), "utf-16-le": root.encode("utf-16-le"),
             "as a symbol": re.sub(r"[^A-Za-z0-9]", "_", root).encode("ascii", "replace")}
    for form, needle in forms.items():
        found = data.count(needle)
        if found:
            problems.append("%s holds the checkout's folder %s %d times (%s)" % (name, root, found, form))
    print("%s: %s; imports %s" % (name, subsystem[0] if subsystem else "?", ", ".join(imports)))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--gui", required=True)
    parser.add_argument("--console", required=True)
    args = parser.parse_args()
    root = os.path.realpath(args.root)
    problems = []
    check(args.gui, "gui", root, problems)
    check(args.console, "console", root, problems)
    for problem in problems:
        print("FAIL " + problem)
    print("morvane_executables: %s" % ("failed" if problems else "passed"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
