#!/usr/bin/env python3
"""Concatenates Findings.csv files as README says (the first file whole, the
first line of each other one dropped) and checks the result is one table:
UTF-8 with one byte-order mark, one header row, every row with the header's
columns, `gathered` in ISO 8601, `code page` a number, and EXPECT (a server
name, a code page) among its rows.

Usage: concatenate_csv.py EXPECTED_SERVER EXPECTED_CODE_PAGE FILE...
"""
import csv
import io
import re
import sys

BOM = b"\xef\xbb\xbf"
HEADER = ["id", "severity", "section", "title", "evidence", "fix", "line", "server", "gathered", "code page",
          "explained by"]


def main():
    server, code_page, files = sys.argv[1], sys.argv[2], sys.argv[3:]
    table = b""
    rows_expected = 0
    for number, path in enumerate(files):
        data = open(path, "rb").read()
        if not data.startswith(BOM):
            return "%s: no byte-order mark" % path
        rows_expected += data.count(b"\r\n") - 1  # no field of the samples holds a line end
        table += data if number == 0 else data[data.index(b"\r\n") + 2:]
    text = table.decode("utf-8")  # strict: any byte of a code page left unconverted fails here
    if text.count("\ufeff") != 1:
        return "the table holds %d byte-order marks" % text.count("\ufeff")
    rows = list(csv.reader(io.StringIO(text[1:], newline=""), strict=True))
    if rows[0] != HEADER:
        return "header: %s" % rows[0]
    body = rows[1:]
    if len(body) != rows_expected:
        return "%d rows, %d expected" % (len(body), rows_expected)
    for row in body:
        if len(row) != len(HEADER) or row[0] == "id":
            return "not a row of the table: %s" % row
        if not re.fullmatch(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d", row[8]) or not row[9].isdigit():
            return "gathered or code page: %s" % row
    if not any(row[7] == server and row[9] == code_page for row in body):
        return "no row of %s in code page %s" % (server, code_page)
    print("%d files, %d rows in one table" % (len(files), len(body)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
