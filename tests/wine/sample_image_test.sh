#!/usr/bin/env bash
# Sample server images give the same report under Wine as natively: each
# image's product registry keys, its drives and file dates and its
# configuration database (a SQLite file behind the ODBC driver "SQL Server")
# go into the prefix, the real window gathers, and the box must hold the
# image's golden report. Only what the live machine answers differs (see
# sample_image/check_image.sh and sample_image/mask_report.py).
# Usage (through run_all.sh): sample_image_test.sh [IMAGE...]
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/sample_image/check_image.sh"
images=("$@")
[ ${#images[@]} -eq 0 ] && images=(exchange2003-42 exchange55-40 exchange2007-50)
for name in "${images[@]}"; do check_sample_image "$name"; done
