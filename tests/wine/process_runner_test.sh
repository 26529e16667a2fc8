#!/usr/bin/env bash
# The process runner (start, one wait with its time-out, start errors) and
# the file operations of Write To File over the real Windows API.
source "$(dirname "$0")/lib.sh"
wine "$FERNWICK_WIN_BUILD/fernwick_wine_tests.exe" --gtest_filter='Win32ProcessRunner.*:Win32PackagingFiles.*'
