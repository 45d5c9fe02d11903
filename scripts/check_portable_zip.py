#!/usr/bin/env python3
"""Checks the portable zip: named after the version in the built program's version resource,
one top folder "Zelvio" holding exactly the shipped files, each byte for byte as built, and
the shipped empty folders; the portable folder itself has those folders too.
Usage: check_portable_zip.py ZIP DIST_FOLDER ENTRY... (paths relative to DIST_FOLDER; an
entry ending in "/" is an empty folder, any other a file)"""
import os
import sys
import zipfile

def product_version(exe):
    """The ProductVersion string of the built program's version resource, read from the
    executable itself: a String entry is its lengths and type, the UTF-16 key, padding to a
    four-byte boundary, then the UTF-16 value."""
    with open(exe, "rb") as f:
        data = f.read()
    key = "ProductVersion\0".encode("utf-16-le")
    at = data.find(key)
    if at < 0:
        return None
    start = at + len(key)
    start += (4 - (start - at + 6) % 4) % 4
    end = start
    while end + 1 < len(data) and data[end:end + 2] != b"\0\0":
        end += 2
    return data[start:end].decode("utf-16-le") or None


def main():
    zip_path, dist, entries = sys.argv[1], sys.argv[2], sys.argv[3:]
    shipped = [e for e in entries if not e.endswith("/")]
    empty_folders = [e for e in entries if e.endswith("/")]
    passed = failed = 0

    def check(what, ok, detail=""):
        nonlocal passed, failed
        if ok:
            passed += 1
            print(f"PASS: {what}")
        else:
            failed += 1
            print(f"FAIL: {what}" + (f" ({detail})" if detail else ""))

    version = product_version(os.path.join(dist, "Zelvio.exe"))
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
        # Every folder the zip names: the shipped empty ones and those that hold shipped files.
        folders_in_zip = sorted({n for n in z.namelist() if n.endswith("/")} |
                                {n[:n.rindex("/") + 1] for n in files})
        allowed = {"Zelvio/" + d for d in empty_folders}
        for path in ["Zelvio/" + e for e in entries]:
            parts = path.rstrip("/").split("/")
            allowed |= {"/".join(parts[:k]) + "/" for k in range(1, len(parts))}
        for d in empty_folders:
            check(f"{d} is in the zip, empty", "Zelvio/" + d in folders_in_zip and
                  not any(n.startswith("Zelvio/" + d) and n != "Zelvio/" + d for n in z.namelist()))
        check("no folder but the shipped ones", set(folders_in_zip) <= allowed,
              f"extra {sorted(set(folders_in_zip) - allowed)}")
        for f in shipped:
            name = "Zelvio/" + f
            if name not in files:
                continue
            with open(os.path.join(dist, f), "rb") as built:
                check(f"{f} as built", z.read(name) == built.read())
    for d in empty_folders:
        check(f"the portable folder has {d}", os.path.isdir(os.path.join(dist, d)))
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0

if __name__ == "__main__":
    sys.exit(main())
