#!/usr/bin/env bash
# The Windows file system services of the install section and the prompt
# check (folder listing, file dates, drive capacity) and the message pump of
# the prompt walk, on Wine's real API.
source "$(dirname "$0")/lib.sh"
wine "$FERNWICK_WIN_BUILD/fernwick_wine_tests.exe" --gtest_filter='FileSystemWin32.*' --gtest_brief=1 ||
  fail "FileSystemWin32 test cases failed"
