#!/usr/bin/env bash
# Help > Help opens Fernwick.htm from the program's folder: without the page
# the shell's code for a missing file is explained. The test prefix has no
# program for .htm files (its HTML engine is switched off), so with the page
# the message names the missing association.
source "$(dirname "$0")/lib.sh"
driver="$FERNWICK_WIN_BUILD/guidriver.exe"
program=
trap '[ -n "$program" ] && kill "$program" 2>/dev/null; rm -rf "$drive_c/FernwickHelp"' EXIT
drive() { timeout 60 wine "$driver" "$@"; }

wine_install "$FERNWICK_WIN_BUILD/Fernwick.exe" FernwickHelp >/dev/null
start() {
  (cd "$drive_c/FernwickHelp" && exec wine ./Fernwick.exe) &
  program=$!
  drive wait || fail "main window did not appear"
}
stop() {
  drive command 102
  drive gone || fail "program did not end"
  wait "$program"
  program=
}

start
drive post 201
box=$(drive msgbox) || fail "no message without the help page"
[ "$box" = "Fernwick | Unable to launch help file Fernwick.htm. Try opening the file manually in a browser. Error code returned is 2" ] ||
  fail "message without the help page: $box"
drive answer 1
stop

cp "$FERNWICK_WIN_BUILD/dist/Fernwick.htm" "$drive_c/FernwickHelp/"
start
drive post 201
box=$(drive msgbox) || fail "no message without an association"
[ "$box" = "Fernwick | No program is currently associated to open this file type: Fernwick.htm" ] ||
  fail "message without an association: $box"
drive answer 1
stop
echo "help test passed"
