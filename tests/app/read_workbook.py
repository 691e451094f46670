#!/usr/bin/python3
"""Reads an exported workbook back with openpyxl, independently of the exporter's own code.

  read_workbook.py WORKBOOK                 print the sheets, column widths and every cell as JSON
  read_workbook.py --expect FILE WORKBOOK   compare with an expectation (JSON); exit 1 on a difference
  read_workbook.py --check-dir DIR          compare every DIR/*.expect.json with the workbook it names;
                                            used for workbooks written by the Windows tests under Wine

An expectation is {"sheets": [{"name", "widths": {"A": 20, ...}, "rows": [[text, ...], ...]}], with
optional "anyOrder" (data rows may come in any order, as the file system lists them),
"subtreesContiguous" (the rows under every folder form one block: a depth-first, pre-order walk) and
"preorderRoot" (column B must follow os.scandir's order walking that folder depth-first, pre-order,
without the workbook itself).
Widths are given as typed by the program (20) and compared with what the file stores (20.7109375).
Empty expected texts match empty cells.
"""
import json
import os
import re
import sys

import openpyxl
from openpyxl.utils import get_column_letter


def read(path):
    book = openpyxl.load_workbook(path, read_only=False)
    sheets = []
    for sheet in book.worksheets:
        widths = []
        for key, dim in sorted(sheet.column_dimensions.items(), key=lambda kv: kv[1].min or 0):
            if dim.width is not None and dim.customWidth:
                widths.append({"min": dim.min, "max": dim.max, "width": dim.width})
        rows = []
        nonText = []
        for row in sheet.iter_rows():
            values = []
            for cell in row:
                if cell.value is None:
                    values.append("")
                else:
                    if cell.data_type != "s":
                        nonText.append(cell.coordinate)
                    values.append(unescape(str(cell.value)))
            rows.append(values)
        sheets.append({"name": sheet.title, "widths": widths, "rows": rows, "nonText": nonText})
    return {"sheets": sheets}


def unescape(text):
    """Control characters are stored as _xHHHH_ (as Excel reads them); openpyxl leaves them escaped."""
    return re.sub(r"_x([0-9A-Fa-f]{4})_", lambda m: chr(int(m.group(1), 16)), text)


def stored_width(width):
    """The width libxlsxwriter stores for a column width given in characters (digit width 7, padding 5)."""
    if width < 1.0:
        pixels = int(width * 12 + 0.5)
    else:
        pixels = int(width * 7 + 0.5) + 5
    return int(pixels / 7 * 256) / 256


def width_of(sheet, column):
    for span in sheet["widths"]:
        if span["min"] <= column <= span["max"]:
            return span["width"]
    return None


def normalise(row, columns):
    row = list(row) + [""] * (columns - len(row))
    return row[:columns] if all(v == "" for v in row[columns:]) else row


def preorder(root):
    paths = []

    def walk(folder):
        with os.scandir(folder) as entries:
            for entry in entries:
                if entry.is_file():
                    # The workbook itself was written after the listing.
                    if entry.name != "文件清单_.xlsx":
                        paths.append(entry.path)
                elif entry.is_dir() and not entry.is_symlink():
                    walk(entry.path)

    walk(root)
    return paths


def separator_of(paths):
    return "\\" if any("\\" in p for p in paths) else "/"


def compare(actual, expected):
    problems = []
    wantSheets = expected["sheets"]
    gotSheets = actual["sheets"]
    if [s["name"] for s in gotSheets] != [s["name"] for s in wantSheets]:
        problems.append("sheet names %r, expected %r" % ([s["name"] for s in gotSheets],
                                                           [s["name"] for s in wantSheets]))
        return problems
    gotData, wantData = [], []
    for got, want in zip(gotSheets, wantSheets):
        name = want["name"]
        if got["nonText"]:
            problems.append("%s: cells that are not text: %s" % (name, ", ".join(got["nonText"][:10])))
        for letter, width in want.get("widths", {}).items():
            column = openpyxl.utils.column_index_from_string(letter)
            have = width_of(got, column)
            if have is None or abs(have - stored_width(width)) > 1e-9:
                problems.append("%s: column %s width %r, expected %r (stored %r)"
                                % (name, letter, have, width, stored_width(width)))
        columns = max([len(r) for r in want["rows"]] + [5])
        gotRows = [normalise(r, columns) for r in got["rows"]]
        wantRows = [normalise(r, columns) for r in want["rows"]]
        if len(gotRows) != len(wantRows):
            problems.append("%s: %d rows, expected %d" % (name, len(gotRows), len(wantRows)))
        if gotRows[:1] != wantRows[:1]:
            problems.append("%s: header %r, expected %r" % (name, gotRows[:1], wantRows[:1]))
        if expected.get("anyOrder"):
            gotData.extend(gotRows[1:])
            wantData.extend(wantRows[1:])
        else:
            for index, (g, w) in enumerate(zip(gotRows[1:], wantRows[1:]), start=2):
                if g != w:
                    problems.append("%s row %d: %r, expected %r" % (name, index, g, w))
    if expected.get("anyOrder"):
        missing = [r for r in wantData if r not in gotData]
        extra = [r for r in gotData if r not in wantData]
        if sorted(gotData) != sorted(wantData):
            problems.append("rows differ: missing %r; unexpected %r" % (missing[:5], extra[:5]))
    paths = [r[1] for s in gotSheets for r in s["rows"][1:] if len(r) > 1]
    if expected.get("subtreesContiguous"):
        sep = separator_of(paths)
        folders = set()
        for p in paths:
            cut = p.rfind(sep)
            while cut > 0:
                folders.add(p[:cut + 1])
                cut = p.rfind(sep, 0, cut)
        for folder in sorted(folders):
            inside = [i for i, p in enumerate(paths) if p.startswith(folder)]
            if inside and inside[-1] - inside[0] + 1 != len(inside):
                problems.append("rows under %r are not one block (rows %r)" % (folder, inside[:10]))
    if "preorderRoot" in expected:
        want = preorder(expected["preorderRoot"])
        if paths != want:
            problems.append("column B is not in pre-order listing order:\n  got  %r\n  want %r"
                            % (paths[:10], want[:10]))
    return problems


def check(expectPath, workbookPath):
    with open(expectPath, encoding="utf-8") as f:
        expected = json.load(f)
    try:
        actual = read(workbookPath)
    except Exception as error:  # an unreadable workbook is a failure like any other
        return ["cannot read %s: %s" % (workbookPath, error)]
    return compare(actual, expected)


def main(argv):
    if len(argv) == 2 and not argv[1].startswith("--"):
        json.dump(read(argv[1]), sys.stdout, ensure_ascii=False, indent=1)
        print()
        return 0
    if len(argv) == 4 and argv[1] == "--expect":
        problems = check(argv[2], argv[3])
        for p in problems:
            print(p)
        return 1 if problems else 0
    if len(argv) == 3 and argv[1] == "--check-dir":
        folder = argv[2]
        names = sorted(n for n in os.listdir(folder) if n.endswith(".expect.json")) \
            if os.path.isdir(folder) else []
        if not names:
            print("no expectations in %s: the Windows tests wrote no workbooks" % folder)
            return 1
        failed = 0
        for name in names:
            expectPath = os.path.join(folder, name)
            with open(expectPath, encoding="utf-8") as f:
                workbook = os.path.join(folder, json.load(f)["workbook"])
            problems = check(expectPath, workbook)
            print("%s %s" % ("FAIL" if problems else "ok  ", name[:-len(".expect.json")]))
            for p in problems:
                print("    " + p)
            failed += bool(problems)
        print("%d workbooks as expected, %d not" % (len(names) - failed, failed))
        return 1 if failed else 0
    print(__doc__, file=sys.stderr)
    return 64


if __name__ == "__main__":
    sys.exit(main(sys.argv))
