#!/usr/bin/env bash
# The sample server image gives the same report under Wine as natively:
# its product registry keys, its drives and its configuration database (a
# SQLite file behind the ODBC driver "SQL Server") go into the prefix, the
# real window gathers, and the box must hold the golden report. Only what
# the live machine answers differs: the date and the computer name.
source "$(dirname "$0")/lib.sh"
image="$FERNWICK_SOURCE_DIR/samples/exchange2003-42"
golden="$FERNWICK_SOURCE_DIR/tests/golden/exchange2003-42.txt"
driver="$FERNWICK_WIN_BUILD/guidriver.exe"
work="$FERNWICK_WINE_WORK/sample_image"
rm -rf "$work"
mkdir -p "$work/database" "$work/drive_d"

python3 "$(dirname "$0")/sample_image/prefix_registry.py" "$image/registry" "$work/seed.reg" "$work/cleanup.reg"
# Drive C: keeps the prefix's own Windows folder; the image adds its programs.
cp -r "$image/drives/C/Program Files/." "$drive_c/Program Files/"
cp -r "$image/drives/D/." "$work/drive_d/"
ln -sfn "$work/drive_d" "$WINEPREFIX/dosdevices/d:"
cleanup() {
  wine_import_reg "$work/cleanup.reg"
  rm -f "$WINEPREFIX/dosdevices/d:"
  rm -rf "$drive_c/Program Files/Voxtra" "$drive_c/Program Files/Fernwick"
}
trap cleanup EXIT
wine_import_reg "$work/seed.reg"

sqlite3 "$work/database/VoxtraDb" <"$image/database/VoxtraDb.sql"
cat >"$work/database/odbcinst.ini" <<INI
[SQL Server]
Driver=${FERNWICK_SQLITE_ODBC_DRIVER:-/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so}
INI
export ODBCSYSINI="$work/database"
cd "$work/database"  # "database=VoxtraDb" resolves against this folder

wine "$FERNWICK_WIN_BUILD/Fernwick.exe" &
timeout 60 wine "$driver" wait || fail "main window did not appear"
timeout 120 wine "$driver" click 1006
timeout 60 wine "$driver" text 1004 >"$work/report.txt"
timeout 60 wine "$driver" command 102
timeout 60 wine "$driver" gone || fail "Exit did not end the program"
wait

mask() {
  sed -E -e 's#^(Gather Date/Time = ).*$#\1<date and time>\r#' -e 's#^(     Voxtra server name = ).*$#\1<computer>\r#' "$1"
}
mask "$golden" >"$work/expected.txt"
mask "$work/report.txt" >"$work/actual.txt"
expect_same_file "report of the sample image" "$work/expected.txt" "$work/actual.txt"
[ "$(sha256sum <"$work/database/VoxtraDb")" = "$(sqlite3 "$work/check" <"$image/database/VoxtraDb.sql" && sha256sum <"$work/check")" ] ||
  fail "gathering changed the database"
echo "sample image report matches"
