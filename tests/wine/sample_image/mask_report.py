#!/usr/bin/env python3
"""Masks what the live machine answers in a report, so that a report
gathered under Wine compares with the native golden report of the same
image: the date, the computer name and domain, the count that depends on
the computer name, the drives' capacity and free space, SQL Server's
version and edition with the Windows version (Wine's server connection
reaches no SQL Server, so error lines may stand before them), and the IP
configuration text.
Usage: mask_report.py REPORT OUT"""
import re
import sys

LINES = [
    (rb"^(Gather Date/Time = ).*$", rb"\1<date and time>"),
    (rb"^(     Voxtra server name = ).*$", rb"\1<computer>"),
    (rb"^(     Active Directory domain = ).*$", rb"\1<domain>"),
    (rb"^(     Total full subscribers homed on the local message store \(if any\) = ).*$", rb"\1<count>"),
    (rb"^(         Total capacity \(megs\)=|         Megs free=|         % free space=).*$", rb"\1<live drive>"),
]


def main():
    text = open(sys.argv[1], "rb").read()
    for pattern, replacement in LINES:
        text = re.sub(pattern.replace(b"$", rb"(?=\r$)"), replacement, text, flags=re.M)
    text = re.sub(rb"(?:\r\n\(error\):[^\r\n]*\r\n)*     SQL Version = .*?     Windows version = [^\r\n]*\r\n",
                  b"<SQL Server and Windows versions>\r\n", text, flags=re.S)
    text = re.sub(rb"OS Platform IP Config Info:\r\n.*\Z", b"OS Platform IP Config Info:\r\n<ipconfig output>\r\n",
                  text, flags=re.S)
    open(sys.argv[2], "wb").write(text)


if __name__ == "__main__":
    main()
