#!/usr/bin/python3
"""Makes a folder of many empty files for the long exports of the Windows app tests.

  make_many_files.py FOLDER COUNT

FOLDER ends up holding exactly the files f000000.txt ... of COUNT and nothing else: files an earlier
run left (workbooks, temporary files) are removed, files already there are kept, so later runs are
quick. Done natively, since making tens of thousands of files under Wine takes minutes.
"""
import os
import sys


def main():
    folder, count = sys.argv[1], int(sys.argv[2])
    os.makedirs(folder, exist_ok=True)
    wanted = {"f%06d.txt" % i for i in range(count)}
    for entry in os.scandir(folder):
        if entry.name not in wanted:
            os.remove(entry.path)
        else:
            wanted.discard(entry.name)
    for name in wanted:
        open(os.path.join(folder, name), "wb").close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
