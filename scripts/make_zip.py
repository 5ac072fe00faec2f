#!/usr/bin/env python3
"""Writes a zip whose bytes depend only on the files it holds.

    make_zip.py OUT.zip NAME=PATH [NAME=PATH ...]

Entries keep the order given, carry one fixed date and plain file permissions, and are
deflated at a fixed level; the archive is written to a temporary name and moved into place.
"""
import os
import sys
import zipfile

FIXED_DATE = (2026, 1, 1, 0, 0, 0)


def main(argv):
    if len(argv) < 3 or any("=" not in a for a in argv[2:]):
        sys.stderr.write(__doc__)
        return 2
    out = argv[1]
    partial = out + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        for pair in argv[2:]:
            name, path = pair.split("=", 1)
            with open(path, "rb") as f:
                data = f.read()
            entry = zipfile.ZipInfo(name, FIXED_DATE)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 0
            entry.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE, as Windows' own zips have
            archive.writestr(entry, data, compresslevel=9)
    os.replace(partial, out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
