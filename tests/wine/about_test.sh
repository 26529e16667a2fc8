#!/usr/bin/env bash
# The About window and the language libraries through the real program:
# its texts, the language menu with none, one and three libraries beside the
# program, the switch to Japanese (and back) in the fonts and texts of every
# open window, and a Japanese system (code page 932), where no window text
# changes before a language is chosen. Fonts and the pop-up menu are read
# inside the program by tests/wine/fontprobe, which Wine loads there through
# a window hook.
source "$(dirname "$0")/lib.sh"
expected="$FERNWICK_SOURCE_DIR/tests/wine/expected/about"
driver="$FERNWICK_WIN_BUILD/guidriver.exe"
work="$FERNWICK_WINE_WORK/about"
mkdir -p "$work"
cd "$work"
program=
trap '[ -n "$program" ] && kill "$program" 2>/dev/null; rm -rf "$drive_c/FernwickLanguages"' EXIT
drive() { timeout 60 wine "$driver" "$@"; }

install_with() {  # FOLDER CODE...
  local folder=$1
  shift
  wine_install "$FERNWICK_WIN_BUILD/Fernwick.exe" "FernwickLanguages/$folder" >/dev/null
  for code in "$@"; do wine_install "$FERNWICK_WIN_BUILD/Fernwick_$code.dll" "FernwickLanguages/$folder" >/dev/null; done
}
start_in() {  # FOLDER [VAR=VALUE...]: the program's environment
  (cd "$drive_c/FernwickLanguages/$1" && shift && exec env "$@" wine ./Fernwick.exe) &
  program=$!
  drive wait || fail "main window did not appear in $1"
}
open_about() {
  drive post 202
  drive about wait || fail "About did not open"
}
language_menu() { drive about popup 2009 | grep '^menu ' | sort; }
fonts_of_controls() { drive fonts | grep -v ' none$' | cut -d' ' -f3- | sort | uniq -c | sed 's/^ *//'; }
main_texts() { for id in 1001 1002 1003 1005 1006; do drive wtext $id; echo; done; }
stop() {
  drive command 102
  drive gone || fail "program did not end"
  wait "$program"
  program=
}

# Language names as the ANSI functions answer them, in code pages 1252 and 932.
wine "$FERNWICK_WIN_BUILD/fernwick_wine_tests.exe" --gtest_filter='WindowTextWin32.*' --gtest_brief=1 ||
  fail "WindowTextWin32 test cases failed"

install_with none
install_with one ENU
install_with three ENU DEU JPN

# No library: the About texts, and one menu item that keeps English.
start_in none
import -window root "$artifacts/main_window.png"
open_about
drive about controls >about_controls.txt
expect_same_file "About controls" "$expected/about_controls.txt" about_controls.txt
import -window root "$artifacts/about_window.png"
[ "$(language_menu)" = "menu 3000 no languages loaded" ] || fail "menu without libraries: $(language_menu)"
drive about command 3000
main_texts >texts_none.txt
expect_same_file "English texts" "$expected/main_english.txt" texts_none.txt
drive about click 2010
drive about gone || fail "OK did not hide the About window"
stop

# One library: still no choice.
start_in one
open_about
[ "$(language_menu)" = "menu 3000 no languages loaded" ] || fail "menu with one library: $(language_menu)"
stop

# Three libraries: the platform's names; Japanese switches every window.
start_in three
open_about
language_menu >menu_three.txt
expect_same_file "menu with three libraries" "$expected/menu_three.txt" menu_three.txt
fonts_of_controls >fonts_english.txt
[ "$(cat fonts_english.txt)" = "17 1 MS Sans Serif" ] || fail "fonts before the choice: $(cat fonts_english.txt)"
japanese=$(grep ' Japanese$' menu_three.txt | cut -d' ' -f2)
drive about command "$japanese"
fonts_of_controls >fonts_japanese.txt
[ "$(cat fonts_japanese.txt)" = "17 128 ＭＳ Ｐゴシック" ] || fail "fonts after Japanese: $(cat fonts_japanese.txt)"
main_texts >texts_japanese.txt
expect_same_file "Japanese texts" "$expected/main_japanese.txt" texts_japanese.txt
[ "$(drive about wtext 2009)" = "言語の変更" ] || fail "About text after Japanese: $(drive about wtext 2009)"
[ "$(drive about wtext 2003)" = " 2.0 Build 4" ] || fail "version label changed: $(drive about wtext 2003)"
import -window root "$artifacts/about_window_japanese.png"
drive about click 2010
drive about gone || fail "OK did not hide the About window"
import -window root "$artifacts/main_window_japanese.png"

# Back to English: texts and the design font return.
open_about
drive about command "$(grep ' English' menu_three.txt | head -1 | cut -d' ' -f2)"
main_texts >texts_english.txt
expect_same_file "English texts again" "$expected/main_english.txt" texts_english.txt
[ "$(fonts_of_controls)" = "17 1 MS Sans Serif" ] || fail "fonts after English: $(fonts_of_controls)"
drive about click 2010
stop

# A Japanese system: About loads the library of the user's language and
# gives every window its font, but every text stays English until a
# language is chosen, also the captions Go sets afterwards. Its locale is
# built for this test alone; the server is the window test's, without a
# configuration database.
mkdir -p "$work/locale" "$work/no-odbc-drivers" "$drive_c/Voxtra"
localedef -i ja_JP -f UTF-8 "$work/locale/ja_JP.UTF-8" >/dev/null 2>&1 ||
  [ -f "$work/locale/ja_JP.UTF-8/LC_CTYPE" ] || fail "no Japanese locale (package locales)"
wine_import_reg "$FERNWICK_SOURCE_DIR/tests/fixtures/gui/gui_server.reg"
trap '[ -n "$program" ] && kill "$program" 2>/dev/null; rm -rf "$drive_c/FernwickLanguages" "$drive_c/Voxtra";
  wine_import_reg "$FERNWICK_SOURCE_DIR/tests/fixtures/gui/gui_server_cleanup.reg"' EXIT
start_in three LOCPATH="$work/locale" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 ODBCSYSINI="$work/no-odbc-drivers"
open_about
language_menu >menu_japanese_system.txt
expect_same_file "menu on a Japanese system" "$expected/menu_three.txt" menu_japanese_system.txt
[ "$(fonts_of_controls)" = "17 128 ＭＳ Ｐゴシック" ] || fail "fonts on a Japanese system: $(fonts_of_controls)"
[ "$(drive about wtext 2009)" = "Change Language" ] || fail "About text before the choice: $(drive about wtext 2009)"
drive about click 2010
drive about gone || fail "OK did not hide the About window"
drive click 1006
main_texts >texts_japanese_system.txt
printf 'Select directory to save CAB file to:\nBrowse...\nWrite To File\nExit\nFINISHED\n' >texts_after_go.txt
expect_same_file "texts on a Japanese system after Go" texts_after_go.txt texts_japanese_system.txt
stop
echo "about test passed"
