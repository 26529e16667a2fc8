# Sourced by each Wine test. run_all.sh has set WINEPREFIX, DISPLAY,
# FERNWICK_SOURCE_DIR, FERNWICK_WIN_BUILD, FERNWICK_WINE_WORK,
# FERNWICK_WIN_BITS, FERNWICK_WINE_PREFIX_KIND, FERNWICK_WINDOWS_VERSION and
# FERNWICK_SQLITE_ODBC_DRIVER.
set -euo pipefail
: "${WINEPREFIX:?run through tests/wine/run_all.sh}"
drive_c="$WINEPREFIX/drive_c"
artifacts="$FERNWICK_WINE_WORK/artifacts"

# The prefix as the program under test sees it. A 32-bit program on 64-bit
# Windows is installed under "Program Files (x86)", and Windows shows it the
# 32-bit system folder (SysWOW64) where it asks for system32.
if [ "$FERNWICK_WIN_BITS" = 32 ] && [ "$FERNWICK_WINE_PREFIX_KIND" = win64 ]; then
  program_files='C:\Program Files (x86)'
  system32="$drive_c/windows/syswow64"
else
  program_files='C:\Program Files'
  system32="$drive_c/windows/system32"
fi
program_files_unix="$drive_c/${program_files#C:\\}"

# Runs a Windows program of the build (or any path) and returns its exit code.
wine_run() { wine "$@"; }

# reg.exe of the program's own kind, which works in the program's registry
# view: `wine` alone starts the 32-bit one where wine32 is installed, and
# Wine's reg import ignores /reg:64 where it deletes a key.
wine_reg() {
  if [ "$FERNWICK_WIN_BITS" = 64 ]; then /usr/lib/wine/wine64 reg "$@"; else wine reg "$@"; fi
}

# Imports a .reg file into the registry view the program under test reads
# (HKLM\SOFTWARE of a 32-bit program on 64-bit Windows is Wow6432Node).
wine_import_reg() { wine_reg import "$(winepath -w "$1")" "/reg:$FERNWICK_WIN_BITS"; }

# Exports KEY of the whole registry, both views where there are two (the
# 32-bit one below SOFTWARE\Wow6432Node), into FILE (UTF-16, as regedit).
wine_export_reg() {  # KEY FILE
  wine reg export "$1" "$(winepath -w "$2")" /reg:64 /y >/dev/null
}

# Copies a build product into a folder of the prefix and prints its Windows path.
wine_install() {  # FILE DEST_DIR_UNDER_DRIVE_C
  mkdir -p "$drive_c/$2"
  cp "$1" "$drive_c/$2/"
  printf 'C:\\%s\\%s' "${2//\//\\}" "$(basename "$1")"
}

# The Windows version Wine claims, as the report's "Windows version" line
# writes it (major.minor).
windows_version_number() {
  case $FERNWICK_WINDOWS_VERSION in
    win2003) echo 5.2 ;;
    win2008) echo 6.0 ;;
    win2008r2) echo 6.1 ;;
    *) fail "no version number known for $FERNWICK_WINDOWS_VERSION" ;;
  esac
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
