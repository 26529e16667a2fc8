#!/usr/bin/env bash
# Help > Check for updated version through WinINet with the prefix's proxy
# setting pointing at a loopback stand-in of the tools web site: equal and
# newer published versions, an entry missing from the list, a site that
# cannot be reached, and letters in the version cell. The program keeps
# running after each.
source "$(dirname "$0")/lib.sh"
driver="$FERNWICK_WIN_BUILD/guidriver.exe"
work="$FERNWICK_WINE_WORK/update_check"
mkdir -p "$work"
cd "$work"
drive() { timeout 60 wine "$driver" "$@"; }

python3 "$FERNWICK_SOURCE_DIR/tests/wine/tools_site.py" "$work/list.xml" "$work/requests.log" >port.txt &
site=$!
internet_settings='HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
use_proxy() {  # PORT
  printf 'REGEDIT4\r\n\r\n[%s]\r\n"ProxyEnable"=dword:00000001\r\n"ProxyServer"="127.0.0.1:%s"\r\n' \
    "$internet_settings" "$1" >proxy.reg
  wine_import_reg proxy.reg
}
program=
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null
  kill "$site" 2>/dev/null || true
  printf 'REGEDIT4\r\n\r\n[%s]\r\n"ProxyEnable"=dword:00000000\r\n"ProxyServer"=-\r\n' "$internet_settings" >noproxy.reg
  wine_import_reg noproxy.reg
}
trap cleanup EXIT
for _ in $(seq 50); do [ -s port.txt ] && break; sleep 0.1; done
use_proxy "$(cat port.txt)"

list_with() {  # VERSION_CELL
  printf '<?xml version="1.0"?>\r\n<rows>\r\n<row><cell>^/Applications/Voxtra/Other/Other.html^ifram_a</cell><cell>9.9.9</cell></row>\r\n<row><cell>^/Applications/Voxtra/TORB/TORB.html^ifram_a</cell><cell>%s</cell></row>\r\n</rows>\r\n' "$1" >list.xml
}
unable='Fernwick | Unable to contact application home page to check for version.  You can access the home page and check for updated versions of all Norvane Voxtra tools by going to voxtratools.norvane.com'
# check NAME EXPECTED_BOX BUTTON: one check in a fresh program, which must run on after it.
check() {
  wine "$FERNWICK_WIN_BUILD/Fernwick.exe" &
  program=$!
  drive wait || fail "$1: main window did not appear"
  drive post 203
  local box
  box=$(drive msgbox) || fail "$1: no message"
  [ "$box" = "$2" ] || fail "$1: message was: $box"
  drive answer "$3"
  drive nobox 1000 || fail "$1: a second message followed"
  [ "$(drive text 1006)" = "Go" ] || fail "$1: the program did not keep running"
  drive command 102
  drive gone || fail "$1: program did not end"
  wait "$program"
  program=
}

list_with 2.0.4
check equal "Fernwick | You have the most up to date version of this tool installed" 1
# WinINet names the port when it asks a proxy.
[ "$(cat requests.log)" = "HTTP Generic | http://voxtratools.norvane.com:80/SiteList/AllDownloads/AllDownloads.XML" ] ||
  fail "request: $(cat requests.log)"
list_with 2.0.10
check newer "Updated version is available | An updated version of this tool is available on voxtratools.norvane.com.  Click OK to open the application home page now" 2
list_with 2.1.0
printf '<rows><row><cell>^/Applications/Voxtra/Other/Other.html^ifram_a</cell><cell>3.0.0</cell></row></rows>\r\n' >list.xml
check "missing entry" "$unable" 1
list_with v2.1.0
check "letters in the cell" "$unable" 1
kill "$site"
wait "$site" 2>/dev/null || true
check unreachable "$unable" 1

echo "update check test passed"
