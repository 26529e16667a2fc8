#!/usr/bin/env bash
# The registry wrappers over the real Windows registry: the fixture is
# imported into the view the test program reads, then the same cases as
# natively run against it.
source "$(dirname "$0")/lib.sh"
fixture="$FERNWICK_SOURCE_DIR/tests/fixtures/registry/registry_cases.reg"
wine_import_reg "$fixture"
status=0
wine "$FERNWICK_WIN_BUILD/fernwick_wine_tests.exe" --gtest_filter='RegistryWrappers.*' || status=$?
# Leave the prefix as it was.
printf 'Windows Registry Editor Version 5.00\r\n\r\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\FernwickTests]\r\n' >"$FERNWICK_WINE_WORK/registry_cleanup.reg"
wine_import_reg "$FERNWICK_WINE_WORK/registry_cleanup.reg"
exit $status
