#!/usr/bin/env bash
# File version and workstation information over version.dll and netapi32:
# the test libraries built from tests/fixtures/pe go into the prefix, then
# the shared and the Windows-only cases run against them.
source "$(dirname "$0")/lib.sh"
pe_dir="fernwick_tests/pe"
rm -rf "${drive_c:?}/$pe_dir"
mkdir -p "$drive_c/$pe_dir"
cp "$FERNWICK_WIN_BUILD"/test_pe/*.dll "$drive_c/$pe_dir/"
[ -f "$drive_c/$pe_dir/normal.dll" ] || fail "test libraries missing in $FERNWICK_WIN_BUILD/test_pe"
export FERNWICK_TEST_PE_DIR='C:\fernwick_tests\pe'
export FERNWICK_EXPECTED_COMPUTER_NAME=$(hostname | cut -d. -f1 | tr '[:lower:]' '[:upper:]')
status=0
wine "$FERNWICK_WIN_BUILD/fernwick_wine_tests.exe" \
  --gtest_filter='FileVersion*:WorkStationInfoWin32.*' || status=$?
# Leave the prefix as it was.
rm -rf "${drive_c:?}/fernwick_tests/pe"
rmdir "$drive_c/fernwick_tests" 2>/dev/null || true
exit $status
