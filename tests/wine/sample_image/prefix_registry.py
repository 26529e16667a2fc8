#!/usr/bin/env python3
"""Writes the part of a server image's registry that a Wine prefix may take
(the product's own keys and the messaging products' keys), and the export
that removes it again.

The image's Windows keys (Windows NT\\CurrentVersion, Tcpip, ...) stay out:
Wine reads its own version from them. Of Tcpip\\Parameters only the two
offload values go in, and the removal deletes just those values.
Usage: prefix_registry.py IMAGE_REGISTRY_DIR SEED_REG CLEANUP_REG"""
import pathlib
import sys

KEPT = ("HKEY_LOCAL_MACHINE\\SOFTWARE\\TESSALINE", "HKEY_LOCAL_MACHINE\\SOFTWARE\\NORVANE",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\CLIENTS\\MAIL\\EXCHANGEMAPI",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\MICROSOFT\\EXCHANGE",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\MICROSOFT\\OFFICE",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\MICROSOFT\\WINDOWS MESSAGING SUBSYSTEM\\APPLICATIONS",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\LOTUS", "HKEY_CLASSES_ROOT\\OUTLOOK")
VALUES_ONLY = {"HKEY_LOCAL_MACHINE\\SYSTEM\\CURRENTCONTROLSET\\SERVICES\\TCPIP\\PARAMETERS":
               ("ENABLETCPCHIMNEY", "ENABLERSS")}


def read_export(path):
    data = path.read_bytes()
    if data.startswith(b"\xff\xfe"):
        return data[2:].decode("utf-16-le")
    return data.decode("cp1252")


def value_name(line):
    return line.split("=", 1)[0].strip().strip('"').upper() if line.startswith('"') else None


def main():
    source, seed, cleanup = (pathlib.Path(p) for p in sys.argv[1:4])
    kept_lines = []
    roots = set()
    removed_values = {}
    for export in sorted(source.glob("*.reg")):
        keep = False
        only = None
        for line in read_export(export).splitlines():
            if line.startswith("["):
                key = line.strip("[]-")
                matched = [k for k in KEPT if key.upper().startswith(k)]
                only = VALUES_ONLY.get(key.upper())
                keep = bool(matched) or only is not None
                if matched:
                    roots.add("\\".join(key.split("\\")[:matched[0].count("\\") + 1]))
                if keep:
                    kept_lines.append(line)
                continue
            if only is not None:
                name = value_name(line)
                if name in only:
                    kept_lines.append(line)
                    removed_values.setdefault(key, []).append(line.split("=", 1)[0].strip())
            elif keep:
                kept_lines.append(line)
    header = "Windows Registry Editor Version 5.00\r\n\r\n"
    seed.write_bytes(b"\xff\xfe" + (header + "\r\n".join(kept_lines) + "\r\n").encode("utf-16-le"))
    removal = "".join(f"[-{root}]\r\n\r\n" for root in sorted(roots))
    removal += "".join(f"[{key}]\r\n" + "".join(f"{name}=-\r\n" for name in names) + "\r\n"
                       for key, names in removed_values.items())
    cleanup.write_bytes(b"\xff\xfe" + (header + removal).encode("utf-16-le"))


if __name__ == "__main__":
    main()
