# Sourced by the Wine tests that run Fernwick.exe against the sample server
# (4.2(1.0), so the switch report is packed too): its registry, drives and
# database seeded into the prefix, the distribution folder installed in the
# program folder of its kind ("Program Files (x86)" for a 32-bit program on
# 64-bit Windows), and everything removed again when the test ends. Sets
# work, install, output (the work folder) and fernwick (the program's
# Windows path), and leaves the current folder where the ODBC driver finds
# the database.
image="$FERNWICK_SOURCE_DIR/samples/exchange2003-42"
dist="$FERNWICK_WIN_BUILD/dist"
install="$program_files_unix/Fernwick"
output="$drive_c/Program Files/Voxtra/SystemInfo"
fernwick="$program_files\\Fernwick\\Fernwick.exe"

sample_server_cleanup() {
  wine_import_reg "$work/cleanup.reg"
  rm -f "$WINEPREFIX/dosdevices/d:"
  chmod -R u+w "$drive_c/Program Files/Voxtra" 2>/dev/null
  rm -rf "$drive_c/Program Files/Voxtra" "$install"
  return 0
}

install_sample_server() {  # WORK_FOLDER
  work=$1
  rm -rf "$work"
  mkdir -p "$work/database" "$work/drive_d"
  python3 "$FERNWICK_SOURCE_DIR/tests/wine/sample_image/prefix_registry.py" "$image/registry" "$work/seed.reg" \
    "$work/cleanup.reg"
  cp -r "$image/drives/C/Program Files/." "$drive_c/Program Files/"
  cp -r "$image/drives/D/." "$work/drive_d/"
  ln -sfn "$work/drive_d" "$WINEPREFIX/dosdevices/d:"
  wine_import_reg "$work/seed.reg"
  mkdir -p "$install"
  cp "$dist"/* "$install/"
  sqlite3 "$work/database/VoxtraDb" <"$image/database/VoxtraDb.sql"
  cat >"$work/database/odbcinst.ini" <<INI
[SQL Server]
Driver=$FERNWICK_SQLITE_ODBC_DRIVER
INI
  export ODBCSYSINI="$work/database"
  cd "$work/database"
}
