#!/usr/bin/python3
"""A stand-in file server: a read-only FUSE passthrough of SOURCE at MOUNTPOINT that waits DELAY
milliseconds in every directory read and every attribute look-up, as a network share does per round
trip. Attribute and entry caching are off, so every look-up of the exporter reaches it.

  slow_fs.py SOURCE MOUNTPOINT DELAY_MS

Runs in the foreground, serving requests on many threads at once (a real server answers parallel
requests in parallel), until unmounted (fusermount3 -u MOUNTPOINT) or interrupted.
Needs Debian's python3-fusepy and fuse3.
"""
import errno
import os
import sys
import time

from fusepy import FUSE, FuseOSError, Operations


class SlowPassthrough(Operations):
    def __init__(self, source, delay_seconds):
        self.source = source
        self.delay = delay_seconds

    def _real(self, path):
        return os.path.join(self.source, path.lstrip("/"))

    def _round_trip(self):
        if self.delay > 0:
            time.sleep(self.delay)

    def getattr(self, path, fh=None):
        self._round_trip()
        try:
            st = os.lstat(self._real(path))
        except OSError as error:
            raise FuseOSError(error.errno)
        return {key: getattr(st, key) for key in (
            "st_mode", "st_nlink", "st_size", "st_uid", "st_gid", "st_atime", "st_mtime", "st_ctime")}

    def readdir(self, path, fh):
        self._round_trip()
        try:
            names = os.listdir(self._real(path))
        except OSError as error:
            raise FuseOSError(error.errno)
        return [".", ".."] + names

    def readlink(self, path):
        self._round_trip()
        return os.readlink(self._real(path))

    def open(self, path, flags):
        if flags & (os.O_WRONLY | os.O_RDWR):
            raise FuseOSError(errno.EROFS)
        return os.open(self._real(path), os.O_RDONLY)

    def read(self, path, size, offset, fh):
        return os.pread(fh, size, offset)

    def release(self, path, fh):
        os.close(fh)

    def statfs(self, path):
        st = os.statvfs(self._real(path))
        return {key: getattr(st, key) for key in (
            "f_bavail", "f_bfree", "f_blocks", "f_bsize", "f_favail", "f_ffree", "f_files", "f_flag",
            "f_frsize", "f_namemax")}


def main():
    if len(sys.argv) != 4:
        raise SystemExit(__doc__)
    source, mountpoint, delay_ms = sys.argv[1], sys.argv[2], float(sys.argv[3])
    FUSE(SlowPassthrough(os.path.abspath(source), delay_ms / 1000.0), mountpoint, foreground=True,
         nothreads=False, ro=True, attr_timeout=0, entry_timeout=0, negative_timeout=0)


if __name__ == "__main__":
    main()
