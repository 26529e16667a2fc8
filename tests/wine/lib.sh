# Sourced by each Wine test. run_all.sh has set WINEPREFIX, DISPLAY,
# FERNWICK_SOURCE_DIR, FERNWICK_WIN_BUILD and FERNWICK_WINE_WORK.
set -euo pipefail
: "${WINEPREFIX:?run through tests/wine/run_all.sh}"
drive_c="$WINEPREFIX/drive_c"
artifacts="$FERNWICK_WINE_WORK/artifacts"

# Runs a Windows program of the build (or any path) and returns its exit code.
wine_run() { wine "$@"; }

# Imports a .reg file into the prefix's registry.
wine_import_reg() { wine regedit /S "$(winepath -w "$1")"; }

# Copies a build product into a folder of the prefix and prints its Windows path.
wine_install() {  # FILE DEST_DIR_UNDER_DRIVE_C
  mkdir -p "$drive_c/$2"
  cp "$1" "$drive_c/$2/"
  printf 'C:\\%s\\%s' "${2//\//\\}" "$(basename "$1")"
}

fail() { echo "FAIL: $*" >&2; exit 1; }

# expect_equal NAME EXPECTED_FILE ACTUAL_FILE
expect_same_file() {
  if ! cmp -s "$2" "$3"; then
    echo "mismatch in $1:" >&2
    diff <(od -c "$2") <(od -c "$3") | head -30 >&2
    exit 1
  fi
}
