#!/usr/bin/env python3
"""Writes the part of a server image's registry that a Wine prefix may take
(the product's own keys), and the export that removes it again.

The image's Windows keys (Windows NT\\CurrentVersion, Tcpip, ...) stay out:
Wine reads its own version from them.
Usage: prefix_registry.py IMAGE_REGISTRY_DIR SEED_REG CLEANUP_REG"""
import pathlib
import sys

KEPT = ("HKEY_LOCAL_MACHINE\\SOFTWARE\\TESSALINE", "HKEY_LOCAL_MACHINE\\SOFTWARE\\NORVANE")


def read_export(path):
    data = path.read_bytes()
    if data.startswith(b"\xff\xfe"):
        return data[2:].decode("utf-16-le")
    return data.decode("cp1252")


def main():
    source, seed, cleanup = (pathlib.Path(p) for p in sys.argv[1:4])
    kept_lines = []
    roots = set()
    for export in sorted(source.glob("*.reg")):
        keep = False
        for line in read_export(export).splitlines():
            if line.startswith("["):
                key = line.strip("[]-")
                keep = key.upper().startswith(KEPT)
                if keep:
                    roots.add("\\".join(key.split("\\")[:3]))
            if keep:
                kept_lines.append(line)
    header = "Windows Registry Editor Version 5.00\r\n\r\n"
    seed.write_bytes(b"\xff\xfe" + (header + "\r\n".join(kept_lines) + "\r\n").encode("utf-16-le"))
    removal = "".join(f"[-{root}]\r\n\r\n" for root in sorted(roots))
    cleanup.write_bytes(b"\xff\xfe" + (header + removal).encode("utf-16-le"))


if __name__ == "__main__":
    main()
