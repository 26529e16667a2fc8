#!/usr/bin/env python3
"""Seeds a Wine prefix with a server image's drives and file dates, and
removes exactly what it added again.

  seed_drives.py seed IMAGE PREFIX WORK MANIFEST [SYSTEM_FOLDER]
  seed_drives.py clean MANIFEST

Drive C: keeps the prefix's own Windows folder: the image's files outside
its Windows folder are copied into drive_c, and the files of its
system32 folder into the prefix's folder that the program under test sees
as system32: SYSTEM_FOLDER below the prefix's Windows folder (default
system32; syswow64 for a 32-bit program on 64-bit Windows). Every other
drive letter becomes a copy below WORK that the prefix's dosdevices link to. The dates of image.ini's
[file dates] are set on the copies. MANIFEST lists what was created,
deepest first, so that clean removes only that."""
import os
import pathlib
import shutil
import sys
from datetime import datetime

WINDOWS_FOLDERS = ("WINDOWS", "WINNT")


def ini_section(image, name):
    entries, section = {}, None
    for line in (image / "image.ini").read_text(encoding="cp1252").splitlines():
        line = line.strip()
        if not line or line[0] in ";#":
            continue
        if line.startswith("[") and line.endswith("]"):
            section = line[1:-1].strip().lower()
        elif section == name and "=" in line:
            key, value = line.split("=", 1)
            entries[key.strip()] = value.strip()
    return entries


def find_no_case(folder, name):
    for entry in folder.iterdir() if folder.is_dir() else ():
        if entry.name.lower() == name.lower():
            return entry
    return None


def copy_tree(source, target, created):
    """Copies source into target, noting each file and folder it creates."""
    if not target.exists():
        target.mkdir(parents=True)
        created.append(target)
    for entry in sorted(source.iterdir()):
        if entry.name == ".keep":
            continue
        dest = find_no_case(target, entry.name) or target / entry.name
        if entry.is_dir():
            copy_tree(entry, dest, created)
        elif not dest.exists():
            shutil.copy(entry, dest)
            created.append(dest)


def seed(image, prefix, work, manifest, system_folder="system32"):
    created = []
    roots = {}
    drives = image / "drives"
    for drive in sorted(drives.iterdir()):
        letter = drive.name.lower()
        if letter == "c":
            root = prefix / "drive_c"
            for entry in sorted(drive.iterdir()):
                if entry.name.upper() in WINDOWS_FOLDERS:
                    system32 = find_no_case(entry, "system32")
                    if system32:
                        copy_tree(system32, root / "windows" / system_folder, created)
                elif entry.is_dir():
                    copy_tree(entry, find_no_case(root, entry.name) or root / entry.name, created)
                elif entry.name != ".keep" and not (root / entry.name).exists():
                    shutil.copy(entry, root / entry.name)
                    created.append(root / entry.name)
        else:
            root = work / f"drive_{letter}"
            copy_tree(drive, root, created)
            link = prefix / "dosdevices" / f"{letter}:"
            link.symlink_to(root)
            created.append(link)
        roots[letter] = root
    for path, stamp in ini_section(image, "file dates").items():
        current = roots[path[0].lower()]
        parts = path[3:].split("\\")
        if path[0].lower() == "c" and len(parts) > 2 and parts[0].upper() in WINDOWS_FOLDERS \
                and parts[1].lower() == "system32":
            current, parts = roots["c"] / "windows" / system_folder, parts[2:]
        for part in parts:
            current = find_no_case(current, part)
        when = datetime.strptime(stamp, "%Y-%m-%d %H:%M:%S").timestamp()
        os.utime(current, (when, when))
    manifest.write_text("".join(f"{p}\n" for p in reversed(created)))


def clean(manifest):
    for line in manifest.read_text().splitlines():
        path = pathlib.Path(line)
        if path.is_symlink() or path.is_file():
            path.unlink()
        elif path.is_dir():
            shutil.rmtree(path)


if __name__ == "__main__":
    if sys.argv[1] == "seed":
        seed(*(pathlib.Path(p) for p in sys.argv[2:6]), *sys.argv[6:7])
    else:
        clean(pathlib.Path(sys.argv[2]))
