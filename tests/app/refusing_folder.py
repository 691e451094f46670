#!/usr/bin/python3
"""Makes, and removes again, a folder that lets no new file be created, for the Windows app tests.

  refusing_folder.py make FOLDER     FOLDER holds a.txt (3000 bytes) and b.txt (5000 bytes) and refuses
                                     new files; FOLDER.how says how, or why it could not be done
  refusing_folder.py remove FOLDER   undoes it and removes FOLDER

Wine creates files with the Linux calls, so the folder must refuse on Linux. A folder's read-only
attribute does not stop file creation on Windows, and Wine keeps it so; a folder without write
permission (mode 0555) refuses an ordinary user but not root, who may write anywhere. For root the
folder is made immutable (chattr +i, which refuses new names to root too), or else a read-only bind
mount of itself. Done natively, since Wine cannot run these commands.
"""
import os
import shutil
import subprocess
import sys


def refuses(folder):
    probe = os.path.join(folder, "probe")
    try:
        with open(probe, "xb"):
            pass
    except OSError:
        return True
    os.remove(probe)
    return False


def run(*command):
    return subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


def undo(folder):
    if not os.path.isdir(folder):
        return
    if os.path.ismount(folder):
        run("umount", folder)
    run("chattr", "-i", folder)
    os.chmod(folder, 0o755)


def make(folder):
    undo(folder)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    with open(os.path.join(folder, "a.txt"), "wb") as file:
        file.write(b"a" * 3000)
    with open(os.path.join(folder, "b.txt"), "wb") as file:
        file.write(b"b" * 5000)
    how = None
    if os.geteuid() != 0:
        os.chmod(folder, 0o555)
        how = "mode 0555"
    elif run("chattr", "+i", folder) and refuses(folder):
        how = "chattr +i"
    else:
        run("chattr", "-i", folder)
        if run("mount", "--bind", folder, folder) and run("mount", "-o", "remount,ro,bind", folder):
            how = "read-only bind mount"
    if how is None or not refuses(folder):
        undo(folder)
        how = "none: this machine offers no way to make a folder refuse new files"
    with open(folder + ".how", "w") as file:
        file.write(how + "\n")
    print(how)
    return 0


def remove(folder):
    undo(folder)
    shutil.rmtree(folder, ignore_errors=True)
    if os.path.exists(folder + ".how"):
        os.remove(folder + ".how")
    return 0


def main():
    action, folder = sys.argv[1], os.path.abspath(sys.argv[2])
    return make(folder) if action == "make" else remove(folder)


if __name__ == "__main__":
    sys.exit(main())
