#!/usr/bin/env bash
# The configuration database through Wine's odbc32 and unixODBC: the
# Windows test cases Odbc* open a SQLite file with the program's own
# connection string "Driver={SQL Server};server=;database=VoxtraDb".
# The SQLite driver resolves "database=VoxtraDb" against the Unix working
# folder of the wine process, so the test runs inside the folder that holds
# the file; the folder also registers the driver as "SQL Server".
source "$(dirname "$0")/lib.sh"

work="$FERNWICK_WINE_WORK/odbc"
rm -rf "$work"
mkdir -p "$work"
sqlite3 "$work/VoxtraDb" <"$FERNWICK_SOURCE_DIR/samples/exchange2003-42/database/VoxtraDb.sql"
# Rows only the Wine test cases read.
sqlite3 "$work/VoxtraDb" <<'SQL'
CREATE TABLE OdbcProbe (Label TEXT, Body TEXT);
INSERT INTO OdbcProbe VALUES
  ('ansi', CAST(X'636166E92080' AS TEXT)),
  ('empty', ''),
  ('long', replace(hex(zeroblob(50000)), '00', 'ab')),
  ('null', NULL);
INSERT INTO Configuration (FullNodeName, NodeName, NodeValue) VALUES
  ('Test.NullValue', 'NullValue', NULL),
  ('Test.Twice', 'Twice', 'a'),
  ('Test.Twice', 'Twice', 'b'),
  ('Test.Owner''s.Name', 'Name', 'apostrophe works');
SQL
cat >"$work/odbcinst.ini" <<INI
[SQL Server]
Description=SQLite standing in for SQL Server
Driver=$FERNWICK_SQLITE_ODBC_DRIVER
INI
checksum=$(sha256sum <"$work/VoxtraDb")

export ODBCSYSINI="$work"
cd "$work"
wine "$FERNWICK_WIN_BUILD/fernwick_wine_tests.exe" --gtest_filter='Odbc*' --gtest_brief=1 ||
  fail "Odbc test cases failed"

# Reading never changes the database. The server connection names no
# database, and the SQLite driver then opens (creating it empty) a file named
# after the whole connection string; SQL Server ignores that. Nothing else
# may appear.
[ "$(sha256sum <"$work/VoxtraDb")" = "$checksum" ] || fail "VoxtraDb changed"
server_file='Driver={SQL Server};Server=VOXTRA01;Trusted_Connection=Yes;'
[ ! -s "$work/$server_file" ] || fail "the stand-in server database is not empty"
rm -f "$work/$server_file"
listing=$(ls -A "$work" | tr '\n' ' ')
[ "$listing" = "VoxtraDb odbcinst.ini " ] || fail "unexpected files beside the database: $listing"
cd /
rm -rf "$work"
