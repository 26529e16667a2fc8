#!/usr/bin/env bash
# Sample images whose environment, directory connector, messaging and
# licensing sections give the same report under Wine as natively: the
# licence page fetched through WinINet from the harness's server and parsed
# by MSXML (leading blank lines, duplicate names, a comment), Domino address
# books, the Exchange 2010 MAPI library beside a CDO without its library.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/sample_image/check_image.sh"
check_sample_image domino-addressbooks-40
check_sample_image exchange2010-85
