# Sourced by the Wine tests of sample server images (after lib.sh).
# check_sample_image NAME: seeds the prefix with the image samples/NAME (its
# product and messaging registry keys, its drives and file dates through
# seed_drives.py, its system32 libraries in place of the prefix's own files
# of those names in the system folder the program sees (SysWOW64 for a
# 32-bit program on 64-bit Windows), its database behind the ODBC driver
# "SQL Server"), installs Fernwick.exe with the shipped batch files in the
# program folder of its kind, serves the image's
# licence page on port 80 of the address the computer name resolves to,
# stands in for Wine's empty `systeminfo` with the image's output, gathers
# through the real window and compares the report with the native golden
# report up to what the live machine answers (see mask_report.py). The
# prefix is left as it was, also when the check fails. With
# FERNWICK_WINE_BENCH=RUNS it also times whole gatherings on the seeded
# prefix (bench/gathering_bench_win32.cpp), into the artifacts folder.

sample_image_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

check_sample_image() (
  name=$1
  image="$FERNWICK_SOURCE_DIR/samples/$name"
  golden="$FERNWICK_SOURCE_DIR/tests/golden/$name.txt"
  driver="$FERNWICK_WIN_BUILD/guidriver.exe"
  work="$FERNWICK_WINE_WORK/sample_image/$name"
  install="$program_files_unix/Fernwick"
  rm -rf "$work"
  mkdir -p "$work/database" "$work/backup"

  python3 "$sample_image_dir/prefix_registry.py" "$image/registry" "$work/seed.reg" "$work/cleanup.reg"
  : >"$work/placed.txt"
  : >"$work/created.txt"
  install_made=
  [ -d "$install" ] || install_made=yes
  libraries=()
  while IFS= read -r f; do libraries+=("$f"); done < <(
    find "$image/drives" -mindepth 4 -maxdepth 4 -type f ! -name .keep -ipath "$image/drives/c/win*/system32/*")
  server_pid=
  cleanup() {
    local status=$?
    set +e
    if [ -n "$server_pid" ]; then
      kill "$server_pid" 2>/dev/null
      wait "$server_pid" 2>/dev/null
    fi
    wine_import_reg "$work/cleanup.reg"
    rm -f "$install/Fernwick.exe" "$install/gathering_bench_win32.exe" "$install"/*.bat
    python3 "$sample_image_dir/seed_drives.py" clean "$work/created.txt"
    [ -n "$install_made" ] && rm -rf "$install"
    # Libraries and the systeminfo stand-in go; the prefix's own files come back.
    while IFS= read -r f; do rm -f "$system32/$f"; done <"$work/placed.txt"
    for f in "$work"/backup/*; do [ -e "$f" ] && mv -f "$f" "$system32/"; done
    exit "$status"
  }
  trap cleanup EXIT
  trap 'exit 1' INT TERM
  # A library of the image replaces the prefix's file of that name (any case).
  place_in_system32() {  # SOURCE NAME
    local existing
    existing=$(find "$system32" -maxdepth 1 -iname "$2" | head -1)
    if [ -n "$existing" ]; then
      mv "$existing" "$work/backup/"
      # Wine loads its own library of that name unless told to take the file.
      local module
      module=$(tr 'A-Z' 'a-z' <<<"$2")
      export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}$module=n"
    fi
    echo "$2" >>"$work/placed.txt"
    cp "$1" "$system32/$2"
  }

  wine_import_reg "$work/seed.reg"
  # The image's system32 files replace the prefix's own; seed_drives.py then
  # adds the rest of the drives (it leaves files that exist alone).
  for f in "${libraries[@]}"; do place_in_system32 "$f" "$(basename "$f")"; done
  python3 "$sample_image_dir/seed_drives.py" seed "$image" "$WINEPREFIX" "$work" "$work/created.txt" \
    "$(basename "$system32")"
  mkdir -p "$install"
  cp "$FERNWICK_WIN_BUILD/Fernwick.exe" "$FERNWICK_SOURCE_DIR"/shipped/*.bat "$install/"
  if [ -f "$image/programs/systeminfo.txt" ]; then
    place_in_system32 "$FERNWICK_WIN_BUILD/systeminfo_standin.exe" systeminfo.exe
    place_in_system32 "$image/programs/systeminfo.txt" systeminfo.txt
  fi

  # The licence page, at the address WinINet finds for the computer name.
  host=$(awk -F= 'tolower($1) == "computername" {print $2; exit}' "$image/image.ini" | tr -d '\r')
  pages=
  [ -d "$image/pages" ] && pages=$(find "$image/pages" -mindepth 1 -maxdepth 1 -type d -iname "$host" | head -1)
  if [ -n "$pages" ]; then
    address=$(getent hosts "$(hostname)" | awk '{print $1; exit}')
    python3 -m http.server 80 --bind "${address:-127.0.0.1}" --directory "$pages" >"$work/http.log" 2>&1 &
    server_pid=$!
    for _ in $(seq 50); do grep -q "Serving HTTP" "$work/http.log" 2>/dev/null && break; sleep 0.1; done
    kill -0 "$server_pid" 2>/dev/null && grep -q "Serving HTTP" "$work/http.log" ||
      fail "$name: the licence page cannot be served on port 80: $(cat "$work/http.log")"
  fi

  sqlite3 "$work/database/VoxtraDb" <"$image/database/VoxtraDb.sql"
  cat >"$work/database/odbcinst.ini" <<INI
[SQL Server]
Driver=$FERNWICK_SQLITE_ODBC_DRIVER
INI
  export ODBCSYSINI="$work/database"
  cd "$work/database"  # "database=VoxtraDb" resolves against this folder

  wine "$program_files\\Fernwick\\Fernwick.exe" &
  fernwick_pid=$!
  timeout 60 wine "$driver" wait || fail "$name: main window did not appear"
  timeout 120 wine "$driver" click 1006 || fail "$name: Go could not be pressed"
  timeout 60 wine "$driver" text 1004 >"$work/report.txt" || fail "$name: the report box could not be read"
  timeout 60 wine "$driver" command 102
  timeout 60 wine "$driver" gone || fail "$name: Exit did not end the program"
  wait "$fernwick_pid"

  python3 "$sample_image_dir/mask_report.py" "$golden" "$work/expected.txt"
  python3 "$sample_image_dir/mask_report.py" "$work/report.txt" "$work/actual.txt"
  expect_same_file "report of the sample image $name" "$work/expected.txt" "$work/actual.txt"
  [ "$(sha256sum <"$work/database/VoxtraDb")" = "$(sqlite3 "$work/check" <"$image/database/VoxtraDb.sql" && sha256sum <"$work/check")" ] ||
    fail "$name: gathering changed the database"
  if [ -n "$pages" ]; then grep -q "GET /tlxml/effectivelicense.asp" "$work/http.log" || fail "$name: the licence page was not fetched"; fi
  echo "sample image $name: report matches"
  # FERNWICK_WINE_BENCH=RUNS: the gathering's wall time on the seeded prefix.
  if [ -n "${FERNWICK_WINE_BENCH:-}" ]; then
    cp "$FERNWICK_WIN_BUILD/gathering_bench_win32.exe" "$install/"
    timeout 300 wine "$program_files\\Fernwick\\gathering_bench_win32.exe" "$FERNWICK_WINE_BENCH" \
      >"$artifacts/gathering_bench_$name.txt"
    tr -d '\r' <"$artifacts/gathering_bench_$name.txt"
  fi
)
