#!/usr/bin/env python3
"""Checks an unpacked redacted package against a sample's table of names.

Usage: check_names.py TABLE FOLDER

Every file below FOLDER is read as ANSI (code page 1252), as UTF-16LE from
either byte, and, for registry exports, the hex bytes of every hex value in
both encodings too. No "gone" name of TABLE may stand as a whole word in any
of these, in any letter case; every "kept" item must still stand in one of
them. Exit status 1 names what was found or missed.
"""
import pathlib
import re
import sys

NAME_CHARS = "A-Za-z0-9_-"


def views(path):
    data = path.read_bytes()
    texts = [data.decode("cp1252", "replace")]
    for start in (0, 1):
        chunk = data[start:]
        texts.append(chunk[: len(chunk) // 2 * 2].decode("utf-16-le", "replace"))
    if path.suffix.lower() == ".reg":
        for text in list(texts):
            for run in re.findall(r"=hex(?:\([0-9a-fA-F]+\))?:((?:[0-9a-fA-F]{2}(?:,|,\\\r?\n\s*)?)+)", text):
                raw = bytes(int(h, 16) for h in re.findall(r"[0-9a-fA-F]{2}", run))
                texts.append(raw.decode("cp1252", "replace"))
                texts.append(raw[: len(raw) // 2 * 2].decode("utf-16-le", "replace"))
    return texts


def pattern(name):
    return re.compile(r"(?<![%s])%s(?![%s])" % (NAME_CHARS, re.escape(name), NAME_CHARS), re.IGNORECASE)


def main():
    table, folder = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    entries = []
    for line in table.read_text().splitlines():
        if line and not line.startswith(";"):
            kind, text = line.split("\t", 1)
            entries.append((kind, text, pattern(text)))
    files = [p for p in sorted(folder.rglob("*")) if p.is_file()]
    seen = {text: False for kind, text, _ in entries if kind == "kept"}
    failures = []
    for path in files:
        for text in views(path):
            for kind, name, regex in entries:
                found = regex.search(text)
                if kind == "gone" and found:
                    context = text[max(0, found.start() - 40) : found.end() + 40].replace("\r", " ").replace("\n", " ")
                    failures.append("%s: \"%s\" is still there: ...%s..." % (path.relative_to(folder), name, context))
                elif kind == "kept" and found:
                    seen[name] = True
    failures += ["\"%s\" was replaced everywhere, but is kept" % name for name, hit in seen.items() if not hit]
    for failure in sorted(set(failures))[:20]:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
