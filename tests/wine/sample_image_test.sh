#!/usr/bin/env bash
# The sample server image gives the same report under Wine as natively:
# its product registry keys, its drives and its configuration database (a
# SQLite file behind the ODBC driver "SQL Server") go into the prefix, the
# real window gathers, and the box must hold the golden report. Only what
# the live machine answers differs (see sample_image/check_image.sh).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/sample_image/check_image.sh"
check_sample_image exchange2003-42
