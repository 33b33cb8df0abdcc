#!/usr/bin/env python3
"""Makes the release package: the game folder as `cmake --install` lays it out, zipped into one
folder NAME, as OUTPUT/NAME.zip.

    package_zip.py BUILD OUTPUT NAME

The same bytes from every build of a commit: the entries in sorted order, each with the time that
SOURCE_DATE_EPOCH gives (scripts/package sets the commit's time; without it, now), its permission
bits and nothing else of the build machine. The install's objcopy writes that time into the DLLs
it strips, too.
"""
import os
import shutil
import subprocess
import sys
import time
import zipfile


def main():
    build, output, name = sys.argv[1:4]
    staging = os.path.join(output, "_staging")
    shutil.rmtree(staging, ignore_errors=True)
    subprocess.run(["cmake", "--install", build, "--prefix", os.path.join(staging, name)],
                   check=True, stdout=subprocess.DEVNULL)
    entries = sorted(os.path.relpath(os.path.join(folder, file), staging).replace(os.sep, "/")
                     for folder, _, files in os.walk(staging) for file in files)
    stamp = time.gmtime(int(os.environ.get("SOURCE_DATE_EPOCH", time.time())))[:6]
    archive = os.path.join(output, name + ".zip")
    with zipfile.ZipFile(archive + ".part", "w") as zip_file:
        for entry in entries:
            path = os.path.join(staging, entry)
            info = zipfile.ZipInfo(entry, date_time=max(stamp, (1980, 1, 1, 0, 0, 0)))
            info.create_system = 3  # Unix: the permission bits below mean what they say
            info.external_attr = (0o100000 | os.stat(path).st_mode & 0o777) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                zip_file.writestr(info, f.read(), compresslevel=9)
    os.replace(archive + ".part", archive)
    shutil.rmtree(staging)
    print("package: " + archive)


if __name__ == "__main__":
    main()
