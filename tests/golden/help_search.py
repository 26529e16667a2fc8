#!/usr/bin/env python3
"""The help page finds the report's words: every finding line of every
golden report (the evidence of each row of tests/golden/*.findings.csv) has
a phrase that the page's entry for it holds, as a browser shows the page
(tags left out, entities read, blanks run together); a run-time error line
finds the entry of its number. Each entry of the run-time errors' table
quotes its own line.

Usage: help_search.py HELP_PAGE GOLDEN_FOLDER
"""
import csv
import glob
import html
import os
import re
import sys

PHRASE = 24  # characters of a line a reader would search for


def shown(markup):
    return re.sub(r"\s+", " ", html.unescape(re.sub(r"<[^>]*>", "", markup)))


def entries(page):
    """Anchor of each <h4> entry -> its text up to the next heading."""
    found = {}
    for match in re.finditer(r'<h4 id="([^"]+)">(.*?)(?=<h[234][ >]|$)', page, re.S):
        found[match.group(1)] = shown(match.group(2))
    return found


def anchor_of(finding, evidence):
    if finding != "RUNTIME-ERROR":
        return finding
    match = re.match(r"\s*\(error\):(-?\d+) \((.)", evidence)
    number = int(match.group(1))
    kind = "DATABASE-ERROR-" if match.group(2) == "[" else "RUNTIME-ERROR-"
    return kind + ("M%d" % -number if number < 0 else str(number))


def has_phrase(line, text):
    line = re.sub(r"\s+", " ", line.strip())
    size = min(PHRASE, len(line))
    return any(line[at:at + size] in text for at in range(len(line) - size + 1))


def main():
    page = open(sys.argv[1], encoding="cp1252").read()
    found = entries(page)
    failures = []
    rows = 0
    for path in sorted(glob.glob(os.path.join(sys.argv[2], "*.findings.csv"))):
        for row in list(csv.reader(open(path, encoding="utf-8-sig", newline="")))[1:]:
            evidence = row[4][1:] if row[4].startswith("'") else row[4]
            anchor = anchor_of(row[0], evidence)
            rows += 1
            if anchor not in found:
                failures.append("%s: no entry %s" % (os.path.basename(path), anchor))
            elif not has_phrase(evidence, found[anchor]):
                failures.append("%s: %s finds nothing of: %s" % (os.path.basename(path), anchor, evidence.strip()))
    numbered = [a for a in found if re.match(r"(RUNTIME|DATABASE)-ERROR-M?\d+$", a)]
    for anchor in numbered:
        number = anchor.rsplit("-", 1)[1].replace("M", "-")
        if "(error):%s (" % number not in found[anchor]:
            failures.append("%s does not quote its line" % anchor)
    for words in ("SQL Server does not exist", "(error):17"):
        if words not in shown(page):
            failures.append("the page does not find %r" % words)
    for failure in failures[:20]:
        print(failure)
    if not failures:
        print("%d finding lines and %d run-time errors find their entries" % (rows, len(numbered)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
