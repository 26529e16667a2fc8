#!/usr/bin/env bash
# Sample server images give the same report under Wine as natively: each
# image's product registry keys, its drives and file dates and its
# configuration database (a SQLite file behind the ODBC driver "SQL Server")
# go into the prefix, the real window gathers, and the box must hold the
# image's golden report. Only what the live machine answers differs: the
# date, the computer name and the drives' capacity and free space.
# Usage (through run_all.sh): sample_image_test.sh [IMAGE...]
source "$(dirname "$0")/lib.sh"
images=("$@")
[ ${#images[@]} -eq 0 ] && images=(exchange2003-42 exchange55-40 exchange2007-50)
driver="$FERNWICK_WIN_BUILD/guidriver.exe"
helpers="$(dirname "$0")/sample_image"

mask() {
  sed -E -e 's#^(Gather Date/Time = ).*$#\1<date and time>\r#' -e 's#^(     Voxtra server name = ).*$#\1<computer>\r#' \
    -e 's#^(         Total capacity \(megs\)=|         Megs free=|         % free space=).*$#\1<live drive>\r#' "$1"
}

check_image() {  # NAME
  local name=$1
  local image="$FERNWICK_SOURCE_DIR/samples/$name"
  local golden="$FERNWICK_SOURCE_DIR/tests/golden/$name.txt"
  local work="$FERNWICK_WINE_WORK/sample_image/$name"
  rm -rf "$work"
  mkdir -p "$work/database"

  python3 "$helpers/prefix_registry.py" "$image/registry" "$work/seed.reg" "$work/cleanup.reg"
  python3 "$helpers/seed_drives.py" seed "$image" "$WINEPREFIX" "$work" "$work/created.txt"
  # shellcheck disable=SC2064  # the paths are this image's, fixed now
  trap "wine_import_reg '$work/cleanup.reg'; python3 '$helpers/seed_drives.py' clean '$work/created.txt'" EXIT
  wine_import_reg "$work/seed.reg"

  sqlite3 "$work/database/VoxtraDb" <"$image/database/VoxtraDb.sql"
  cat >"$work/database/odbcinst.ini" <<INI
[SQL Server]
Driver=${FERNWICK_SQLITE_ODBC_DRIVER:-/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so}
INI
  (
    export ODBCSYSINI="$work/database"
    cd "$work/database"  # "database=VoxtraDb" resolves against this folder
    wine "$FERNWICK_WIN_BUILD/Fernwick.exe" &
    timeout 60 wine "$driver" wait || fail "$name: main window did not appear"
    timeout 120 wine "$driver" click 1006
    timeout 60 wine "$driver" text 1004 >"$work/report.txt"
    timeout 60 wine "$driver" command 102
    timeout 60 wine "$driver" gone || fail "$name: Exit did not end the program"
    wait
  )

  mask "$golden" >"$work/expected.txt"
  mask "$work/report.txt" >"$work/actual.txt"
  expect_same_file "report of the sample image $name" "$work/expected.txt" "$work/actual.txt"
  [ "$(sha256sum <"$work/database/VoxtraDb")" = "$(sqlite3 "$work/check" <"$image/database/VoxtraDb.sql" && sha256sum <"$work/check")" ] ||
    fail "$name: gathering changed the database"

  wine_import_reg "$work/cleanup.reg"
  python3 "$helpers/seed_drives.py" clean "$work/created.txt"
  trap - EXIT
  echo "sample image $name: report matches"
}

for name in "${images[@]}"; do check_image "$name"; done
