#!/usr/bin/env python3
"""Writes a zip archive whose bytes depend only on the files' names and contents and one date.

usage: release_zip.py ARCHIVE SOURCE_DATE_EPOCH FOLDER

The archive holds FOLDER itself as its one top folder and every file in it (FOLDER has no
subfolders): members in byte order of their names, each dated SOURCE_DATE_EPOCH (taken as UTC,
no earlier than 1980, the first date a zip can hold), permissions 755 for .exe files and 644 for
the rest, deflated at level 9, and no extra fields (no local times, owners or file-system ids).
"""
import os
import sys
import time
import zipfile

EARLIEST = 315532800  # 1980-01-01 00:00:00 UTC


def member(name, epoch, mode, compression):
    info = zipfile.ZipInfo(name, date_time=time.gmtime(max(epoch, EARLIEST))[:6])
    info.create_system = 3  # Unix, so that unzip reads the permissions below
    info.external_attr = mode << 16
    info.compress_type = compression
    return info


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: release_zip.py ARCHIVE SOURCE_DATE_EPOCH FOLDER")
    archive, epoch, folder = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    top = os.path.basename(os.path.normpath(folder))
    names = sorted(os.listdir(folder))
    for name in names:
        if not os.path.isfile(os.path.join(folder, name)):
            sys.exit(f"release_zip: {os.path.join(folder, name)} is not a plain file")
    with zipfile.ZipFile(archive, "w") as z:
        z.writestr(member(top + "/", epoch, 0o40755, zipfile.ZIP_STORED), b"")
        for name in names:
            mode = 0o100755 if name.endswith(".exe") else 0o100644
            with open(os.path.join(folder, name), "rb") as f:
                z.writestr(member(f"{top}/{name}", epoch, mode, zipfile.ZIP_DEFLATED), f.read(),
                           compresslevel=9)


if __name__ == "__main__":
    main()
