#!/usr/bin/env python3
"""Checks the portable zip: named after the version in the program's version resource,
one top folder "Zelvio" holding exactly the shipped files, each byte for byte as built.
Usage: check_portable_zip.py ZIP DIST_FOLDER FILE... (paths relative to DIST_FOLDER)"""
import os
import re
import sys
import zipfile

def main():
    zip_path, dist, shipped = sys.argv[1], sys.argv[2], sys.argv[3:]
    passed = failed = 0

    def check(what, ok, detail=""):
        nonlocal passed, failed
        if ok:
            passed += 1
            print(f"PASS: {what}")
        else:
            failed += 1
            print(f"FAIL: {what}" + (f" ({detail})" if detail else ""))

    rc = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "app", "zelvio.rc")
    with open(rc, encoding="latin-1") as f:
        found = re.search(r'VALUE "ProductVersion", "([^"]+)"', f.read())
    version = found.group(1) if found else None
    check("the version resource names a product version", version is not None)
    check("the zip is named Zelvio-<version>-win64.zip",
          os.path.basename(zip_path) == f"Zelvio-{version}-win64.zip", os.path.basename(zip_path))
    if not os.path.isfile(zip_path):
        check("the zip exists", False, zip_path)
        print(f"{passed} passed, {failed} failed")
        return 1
    with zipfile.ZipFile(zip_path) as z:
        check("the zip reads back whole", z.testzip() is None)
        files = sorted(n for n in z.namelist() if not n.endswith("/"))
        folders = sorted({n.split("/")[0] for n in z.namelist()})
        expected = sorted("Zelvio/" + f for f in shipped)
        check("one top folder, Zelvio", folders == ["Zelvio"], str(folders))
        check("exactly the shipped files, nothing test-only", files == expected,
              f"extra {sorted(set(files) - set(expected))}, missing {sorted(set(expected) - set(files))}")
        for f in shipped:
            name = "Zelvio/" + f
            if name not in files:
                continue
            with open(os.path.join(dist, f), "rb") as built:
                check(f"{f} as built", z.read(name) == built.read())
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0

if __name__ == "__main__":
    sys.exit(main())
