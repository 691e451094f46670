#!/usr/bin/python3
"""End-to-end test of Morvane.exe under Wine.

  morvane_e2e.py --root SOURCE --morvane MORVANE.EXE --driver DRIVER.EXE --work DIR

Makes a small folder tree in DIR, starts the driver in a Wine virtual desktop ("Morvane", 800x400) in
the prefix build/wine-prefix-e2e (made on first use);
the driver starts Morvane.exe and works its window through messages (typing folders, pressing the
buttons, reading the status line, clicking a green one, closing it); the driver itself stands in for
the program Windows opens a workbook with (registered for .xlsx in the prefix). It then starts Morvane.exe with a file and with a
folder as its argument, as Explorer does for a drop on the program's icon; the folder is a Documents
folder with Chinese names inside the prefix, as a user would have one, and the window showing its
export is the screenshot. Last, in a further Morvane.exe, it exports a folder of many files while
asking the window all along, cancels one export with "取消" and closes the window during another. This
script then checks what the driver saw, reads the workbooks back with openpyxl, and keeps the
screenshot in DIR/screenshot.png (docs/screenshot.png is a copy of one). Exits 1 on any difference.

  ... --export MORVANE-EXPORT.EXE --pictures APPSVC-TESTS.EXE --marker MARKER.DLL

Morvane.exe runs from a copy of its folder, as a user's Downloads, beside morvane-export.exe, the image
tests of the application services and the marker DLL under the names of system DLLs the programs load
(PLANTED_DLLS). morvane-export.exe exports a folder from there and the image tests decode their
pictures from there; no marker DLL may ever have run (it would leave "NAME.loaded" beside itself).
Wine's own load order is kept: a program's own load by name, and a forwarded export (Wine's shell32
forwards CommandLineToArgvW to shcore), take a DLL found in the program's folder, as Windows does,
while the imports of Wine's built-in DLLs prefer the built-in ones (user32 imports version.dll, which
the user32 of Windows does not). Preferring the planted DLLs everywhere would blame the program for
what only Wine's own DLLs load.
"""
import argparse
import getpass
import os
import re
import shutil
import subprocess
import sys
import time

import openpyxl

TITLE = "Morvane - 免费 绿色 极速"
DESCRIPTION = "将选择、粘贴或拖放的文件夹里的文件信息导出到Excel文件,位置在本目录下。"
WORKBOOK = "文件清单_.xlsx"
DESKTOP = "Morvane"
DESKTOP_SIZE = "800x400"

# The folder with files: relative path -> size in bytes.
FILES = {
    "报告.final.docx": 2500,
    "data.csv": 0,
    ".hidden": 1000,
    "sub/深层.txt": 1000000,
}


# The folder of the long export: enough empty files for an export of a few seconds under Wine.
MANY_FILES = 60000


# System DLLs a program may load, planted beside the programs.
PLANTED_DLLS = ["shcore.dll", "gdiplus.dll", "uxtheme.dll", "version.dll", "dwmapi.dll"]


def plant_program_folder(work, args):
    """A copy of the programs' folder with the marker DLL under each planted name; returns the paths of
    the copies of Morvane.exe, morvane-export.exe and the image tests."""
    folder = os.path.join(work, "Downloads")
    os.makedirs(folder)
    copies = {}
    for key, source in (("morvane", args.morvane), ("export", args.export), ("pictures", args.pictures)):
        copies[key] = os.path.join(folder, os.path.basename(source))
        shutil.copy(source, copies[key])
    for name in PLANTED_DLLS:
        shutil.copy(args.marker, os.path.join(folder, name))
    copies["folder"] = folder
    return copies


def run_planted_programs(program, folders, wine_run, environment, problems):
    """morvane-export.exe and the image tests, each run from the planted folder, must succeed."""
    runs = {
        "morvane-export.exe": [program["export"], windows_path(folders["export"])],
        "the image tests": [program["pictures"], "--gtest_filter=DibImage*:GdiplusSession*"],
    }
    # A planted DLL that is loaded may lack what the program calls; Wine's debugger then waits for the
    # time limit, so it is kept short.
    environment = dict(environment, MORVANE_WINE_TIMEOUT="180")
    for what, command in runs.items():
        result = subprocess.run([wine_run] + command, env=environment, capture_output=True, timeout=300)
        if result.returncode != 0:
            problems.append("%s from the planted folder ended with %d: %s" %
                            (what, result.returncode, result.stdout.decode("utf-8", "replace")[-2000:]))
    try:
        rows = list(openpyxl.load_workbook(os.path.join(folders["export"], WORKBOOK))["Sheet1"].iter_rows())
        if len(rows) != 2:
            problems.append("the planted morvane-export.exe wrote %d rows, expected 2" % len(rows))
    except Exception as error:  # an unreadable workbook is a failure like any other
        problems.append("cannot read the planted morvane-export.exe's workbook: %s" % error)


def check_no_marker(program, problems):
    loaded = sorted(n for n in os.listdir(program["folder"]) if n.endswith(".loaded"))
    if loaded:
        problems.append("DLLs planted beside the programs were loaded: %s" % ", ".join(loaded))


def windows_path(path):
    """The Wine path of a Unix path (drive Z: is the Unix root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def make_tree(work):
    if os.path.exists(work):
        shutil.rmtree(work)
    folders = {
        "missing": os.path.join(work, "不存在"),
        "empty": os.path.join(work, "空目录"),
        "files": os.path.join(work, "文件夹 A"),
        "signals": os.path.join(work, "signals"),
    }
    folders["export"] = os.path.join(work, "命令行")
    for key in ("empty", "files", "signals", "export"):
        os.makedirs(folders[key])
    for relative, size in FILES.items():
        path = os.path.join(folders["files"], relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(b"x" * size)
    with open(os.path.join(folders["export"], "一.txt"), "wb") as f:
        f.write(b"x")
    folders["many"] = make_many_files(work)
    return folders


# The user's folder of the screenshot, under the prefix's Documents: relative path -> size in bytes.
DOCUMENTS_FOLDER = "项目资料"
DOCUMENTS_FILES = {
    "项目计划书.docx": 48200,
    "会议纪要 三月.txt": 3100,
    "预算表.xlsx": 15600,
    "现场照片/施工现场01.jpg": 812000,
}


def make_documents(wine_run, environment):
    """The user's Documents\\项目资料 in the prefix, fresh; returns its Unix path, its Windows path
    and the Windows path of a file in it.

    Wine links Documents to the Unix home folder; the test replaces that link by a folder of the
    prefix, so it never writes into a real home."""
    # Any program makes the prefix on first use.
    subprocess.run([wine_run, "cmd", "/c", "exit"], env=environment, check=False, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=600)
    prefix = environment["MORVANE_WINEPREFIX"]
    users = os.path.join(prefix, "drive_c", "users")
    user = getpass.getuser()
    if not os.path.isdir(os.path.join(users, user)):
        names = [n for n in sorted(os.listdir(users)) if n != "Public"] if os.path.isdir(users) else []
        user = names[0] if names else user
    documents = os.path.join(users, user, "Documents")
    if os.path.islink(documents):
        os.unlink(documents)
    folder = os.path.join(documents, DOCUMENTS_FOLDER)
    if os.path.exists(folder):
        shutil.rmtree(folder)
    for relative, size in DOCUMENTS_FILES.items():
        path = os.path.join(folder, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(b"x" * size)
    folder_text = "C:\\users\\%s\\Documents\\%s" % (user, DOCUMENTS_FOLDER)
    return folder, folder_text, folder_text + "\\会议纪要 三月.txt"


def register_workbook_program(wine_run, environment, driver, signals):
    """Makes the driver, in its --record form, the program that opens .xlsx files in the test's prefix."""
    command = '"%s" --record "%s" "%%1"' % (windows_path(driver), windows_path(os.path.join(signals, "opened.txt")))
    for key, value in ((r"HKCR\.xlsx", "MorvaneE2E.Workbook"),
                       (r"HKCR\MorvaneE2E.Workbook\shell\open\command", command)):
        subprocess.run([wine_run, "reg", "add", key, "/ve", "/d", value, "/f"], env=environment, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600)


def make_many_files(work):
    """The long export's folder, made natively (under Wine it would take minutes)."""
    folder = os.path.join(work, "许多文件")
    os.makedirs(folder)
    for i in range(MANY_FILES):
        open(os.path.join(folder, "f%06d.txt" % i), "wb").close()
    return folder


def long_export_expectations():
    """What the driver must have seen of the long export, its cancel and the close in its middle."""
    return {
        "longWindow": "1",
        "longClickAnswered": "1",
        "longQuestions": "1",
        "longUnanswered": "0",  # every 500 ms question was answered
        "longProgressSeen": "1",
        "longCancelButton": "1",
        "longStatus": "生成完毕,文件数量%d个。" % MANY_FILES,
        "longButtonAfter": "生成EXCEL",
        "cancelPressedDuringProgress": "1",
        "cancelUnanswered": "0",
        "cancelStatus": "已取消",
        "cancelButtonAfter": "生成EXCEL",
        "cancelWorkbookKept": "1",
        "cancelStray": "0",
        "closeDuringProgress": "1",
        "closeExited": "1",
        "closeExitCode": "0",
        "closeWorkbookKept": "1",
        "closeStray": "0",
    }


def wait_for(path, seconds, process):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if os.path.exists(path):
            return True
        if process.poll() is not None:
            return os.path.exists(path)
        time.sleep(0.2)
    return False


def display():
    # scripts/wine-run uses the shared headless server :99 when no display is set.
    return os.environ.get("DISPLAY") or ":99"


def desktop_geometry():
    """WxH+X+Y of Wine's virtual desktop window on the X display, or None."""
    try:
        tree = subprocess.run(["xwininfo", "-display", display(), "-root", "-tree"], capture_output=True,
                              text=True, timeout=30).stdout
    except (OSError, subprocess.SubprocessError):
        return None
    for line in tree.splitlines():
        if '"%s - Wine desktop"' % DESKTOP in line:
            match = re.search(r"(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)", line)
            if match:
                w, h, x, y = match.groups()
                return "%sx%s+%s+%s" % (w, h, x, y)
    return None


def take_screenshot(out):
    """The root window of the X display, cut to the virtual desktop when it can be found."""
    command = ["import", "-display", display(), "-window", "root"]
    geometry = desktop_geometry()
    if geometry:
        command += ["-crop", geometry, "+repage"]
    result = subprocess.run(command + [out], capture_output=True, text=True, timeout=60)
    return result.returncode == 0 and os.path.exists(out)


def green_fraction(png):
    """Share of the screenshot's pixels that are exactly the status line's green (0, 255, 0)."""
    result = subprocess.run(["convert", png, "-fill", "black", "+opaque", "#00FF00", "-fill", "white",
                             "-opaque", "#00FF00", "-format", "%[fx:mean]", "info:"],
                            capture_output=True, text=True, timeout=60)
    try:
        return float(result.stdout.strip())
    except ValueError:
        return 0.0


def read_results(path):
    results = {}
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            for line in f:
                key, _, value = line.rstrip("\n").partition("\t")
                results[key] = value
    return results


def expected_rows(folder_text):
    """Rows of the last (recursive) export: the files, and the workbook of the export before it."""
    rows = {}
    for relative, size in FILES.items():
        name = relative.split("/")[-1]
        stem = name.split(".")[0]
        suffix = name.rsplit(".", 1)[1] if "." in name else ""
        path = folder_text + "\\" + relative.replace("/", "\\")
        rows[path] = [stem, path, suffix, "%dKB" % (size // 1000)]
    path = folder_text + "\\" + WORKBOOK
    rows[path] = ["文件清单_", path, "xlsx", None]  # its size is whatever the earlier export wrote
    return rows


def check_workbook(path, folder_text, problems):
    try:
        book = openpyxl.load_workbook(path)
    except Exception as error:  # an unreadable workbook is a failure like any other
        problems.append("cannot read the workbook %s: %s" % (path, error))
        return
    if book.sheetnames != ["Sheet1"]:
        problems.append("sheets %r, expected ['Sheet1']" % book.sheetnames)
        return
    rows = [["" if c.value is None else str(c.value) for c in row] for row in book["Sheet1"].iter_rows()]
    if not rows or rows[0][:5] != ["文件名", "文件路径", "文件后缀", "文件大小", "创建时间"]:
        problems.append("header %r" % (rows[:1],))
        return
    want = expected_rows(folder_text)
    got = {row[1]: row for row in rows[1:]}
    if sorted(got) != sorted(want):
        problems.append("paths %r, expected %r" % (sorted(got), sorted(want)))
        return
    for path, expected in want.items():
        row = got[path]
        for column, value in enumerate(expected):
            if value is not None and row[column] != value:
                problems.append("row of %s, column %d: %r, expected %r" % (path, column + 1, row[column], value))
        if not re.fullmatch(r"\d{4}年\d{1,2}月\d{1,2}日", row[4]):
            problems.append("row of %s: creation date %r" % (path, row[4]))


def expected_for_arguments(documents_text):
    """What the driver sees of Morvane.exe started with a file, then with the Documents folder."""
    flat = sum(1 for r in DOCUMENTS_FILES if "/" not in r)
    return {
        "fileArgumentWindow": "1",
        "fileArgumentPathBox": "",
        "fileArgumentStatus": "",
        "fileArgumentExited": "1",
        "fileArgumentExitCode": "0",
        "folderArgumentWindow": "1",
        "folderArgumentPathBox": documents_text,
        "folderArgumentStatus": "",
        "folderArgumentWorkbookBeforePress": "0",
        "folderArgumentStatusAfterPress": "生成完毕,文件数量%d个。" % flat,
        "folderArgumentExited": "1",
        "folderArgumentExitCode": "0",
    }


def check_documents_workbook(path, folder_text, problems):
    """The export of the folder given as the argument: one row per file directly in it."""
    try:
        rows = list(openpyxl.load_workbook(path)["Sheet1"].iter_rows(values_only=True))
    except Exception as error:  # an unreadable workbook is a failure like any other
        problems.append("cannot read the workbook %s: %s" % (path, error))
        return
    paths = sorted(str(row[1]) for row in rows[1:])
    want = sorted(folder_text + "\\" + r for r in DOCUMENTS_FILES if "/" not in r)
    if paths != want:
        problems.append("paths of %s: %r, expected %r" % (path, paths, want))


def check_long_workbook(path, problems):
    """The long export's workbook, which neither the cancel nor the close touched: every file a row."""
    try:
        book = openpyxl.load_workbook(path, read_only=True)
        rows = book["Sheet1"].max_row
    except Exception as error:
        problems.append("cannot read the long export's workbook %s: %s" % (path, error))
        return
    if rows != MANY_FILES + 1:
        problems.append("the long export's workbook has %r rows, expected %d" % (rows, MANY_FILES + 1))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--morvane", required=True)
    parser.add_argument("--export", required=True)
    parser.add_argument("--pictures", required=True)
    parser.add_argument("--marker", required=True)
    parser.add_argument("--driver", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()

    folders = make_tree(args.work)
    program = plant_program_folder(args.work, args)
    results_path = os.path.join(args.work, "driver-results.txt")
    screenshot = os.path.join(args.work, "screenshot.png")
    # A Wine prefix (and so a Wine server) of its own: while a virtual desktop runs, every program of
    # the same server sees the desktop's 800x400 as the screen, which would upset Windows tests that
    # run at the same time in the shared prefix.
    prefix = os.path.join(args.root, "build", "wine-prefix-e2e")
    environment = dict(os.environ, LANG="C.UTF-8", MORVANE_WINE_TIMEOUT="600", MORVANE_WINEPREFIX=prefix)
    wine_run = os.path.join(args.root, "scripts", "wine-run")
    # The first run also makes the prefix, which takes a minute or two.
    documents, documents_text, documents_file_text = make_documents(wine_run, environment)
    register_workbook_program(wine_run, environment, args.driver, folders["signals"])
    command = [wine_run, "explorer", "/desktop=%s,%s" % (DESKTOP, DESKTOP_SIZE), windows_path(args.driver),
               windows_path(program["morvane"]), windows_path(results_path), windows_path(folders["signals"]),
               windows_path(folders["missing"]), windows_path(folders["empty"]), windows_path(folders["files"]),
               documents_text, documents_file_text, windows_path(folders["many"])]
    driver = subprocess.Popen(command, env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    problems = []
    if wait_for(os.path.join(folders["signals"], "ready"), 420, driver):
        if not take_screenshot(screenshot):
            problems.append("no screenshot could be taken on display %s" % display())
        elif green_fraction(screenshot) <= 0.0:
            problems.append("the screenshot %s shows no green status text" % screenshot)
    else:
        problems.append("the driver never reached the screenshot")
    open(os.path.join(folders["signals"], "shot"), "w").close()
    try:
        driver.wait(timeout=400)  # the long exports follow the screenshot
    except subprocess.TimeoutExpired:
        driver.kill()
        driver.wait()
        problems.append("the driver did not finish")

    results = read_results(results_path)
    files_text = windows_path(folders["files"])
    expected = {
        "window": "1",
        "client": "633x267",
        "title": TITLE,
        "description": DESCRIPTION,
        "generateButton": "生成EXCEL",
        "chooseButton": "选择文件夹",
        "checkBox": "子文件夹",
        "statusAtStart": "",
        "statusMissing": "目录错误",
        "statusEmpty": "目录没有文件",
        "statusFlat": "生成完毕,文件数量%d个。" % sum(1 for r in FILES if "/" not in r),
        # A click on the green status opens the workbook with the program registered for .xlsx.
        "openedWorkbook": files_text + "\\" + WORKBOOK,
        "statusAfterOpening": "生成完毕,文件数量%d个。" % sum(1 for r in FILES if "/" not in r),
        "checked": "1",
        # The recursive run also lists the workbook of the run before it.
        "statusDeep": "生成完毕,文件数量%d个。" % (len(FILES) + 1),
        "exited": "1",
        "exitCode": "0",
        "done": "1",
    }
    expected.update(expected_for_arguments(documents_text))
    expected.update(long_export_expectations())
    for key, value in expected.items():
        if results.get(key) != value:
            problems.append("%s: %r, expected %r" % (key, results.get(key), value))
    if "error" in results:
        problems.append("driver: " + results["error"])
    if os.path.exists(os.path.join(folders["empty"], WORKBOOK)):
        problems.append("an empty folder got a workbook")
    check_workbook(os.path.join(folders["files"], WORKBOOK), files_text, problems)
    check_documents_workbook(os.path.join(documents, WORKBOOK), documents_text, problems)
    check_long_workbook(os.path.join(folders["many"], WORKBOOK), problems)
    run_planted_programs(program, folders, wine_run, environment, problems)
    check_no_marker(program, problems)

    for p in problems:
        print("FAIL " + p)
    print("morvane_e2e: %s (screenshot %s)" % ("failed" if problems else "passed", screenshot))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
