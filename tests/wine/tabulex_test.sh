#!/usr/bin/env bash
# Tabulex against the service control manager of the test prefix: console
# lines and exit code, the output file name rule, and the CSV it writes.
source "$(dirname "$0")/lib.sh"
helpers="$FERNWICK_SOURCE_DIR/tests/wine/tabulex"
work="$FERNWICK_WINE_WORK/tabulex"
mkdir -p "$work"

exe=$(wine_install "$FERNWICK_WIN_BUILD/Tabulex.exe" tabulex)
out_dir="$drive_c/out"
created=(TabulexComma TabulexNoName)
header=$'ServiceName,DisplayName,Service Start Type,Service Status,Service Binary Path,Service Account,PID\r'

delete_created_services() {
  for service in "${created[@]}"; do wine sc delete "$service" >/dev/null 2>&1 || true; done
}
cleanup() {
  delete_created_services
  rm -rf "$out_dir" "$drive_c/tabulex"
  [ -n "${default_unix:-}" ] && rm -f "$default_unix"
  return 0
}
trap cleanup EXIT

# run_tabulex ARGS...: runs it, insists on exit code 1, console into $work/console.
run_tabulex() {
  local rc=0
  wine "$exe" "$@" >"$work/console" || rc=$?
  [ "$rc" -eq 1 ] || fail "Tabulex $* ended with exit code $rc, not 1"
}

# expect_console NAME: the three console lines, with CR LF and nothing else.
expect_console() {
  printf 'Usages: Tabulex -o <OutputFileName>\r\nCheck the output in file : %s\r\nPlease mail this file to Norvane TAC\r\n' \
    "$1" >"$work/console.expected"
  expect_same_file "console lines naming $1" "$work/console.expected" "$work/console"
}

expect_listing_file() {  # UNIX_PATH
  [ -f "$1" ] || fail "no listing at $1"
  [ "$(head -n 1 "$1")" = "$header" ] || fail "$1 does not start with the header"
}

windows_env() { wine cmd /c echo "%$1%" | tr -d '\r\n'; }

echo "== the default name is Services.csv in the temporary folder"
temp=$(windows_env TMP)
[ "$temp" = "%TMP%" ] && temp=$(windows_env TEMP)
default_name="${temp%\\}\\Services.csv"
default_unix=$(winepath -u "$default_name")
mkdir -p "$out_dir"
for args in "" "-o" "-O C:\\out\\capital.csv" "-o C:\\out\\named.csv -o"; do
  rm -f "$default_unix"
  # shellcheck disable=SC2086
  run_tabulex $args
  if [ "$args" = "-o C:\\out\\named.csv -o" ]; then
    expect_console 'C:\out\named.csv'
    [ -f "$default_unix" ] && fail "a trailing -o after a pair fell back to the default"
    expect_listing_file "$out_dir/named.csv"
    continue
  fi
  expect_console "$default_name"
  expect_listing_file "$default_unix"
done
[ -e "$out_dir/capital.csv" ] && fail "-O was taken for -o"

echo "== the last -o pair wins and the argument after -o is examined too"
run_tabulex -o 'C:\out\first.csv' junk -o 'C:\out\second.csv'
expect_console 'C:\out\second.csv'
[ -e "$out_dir/first.csv" ] && fail "an earlier -o pair was written"
expect_listing_file "$out_dir/second.csv"
run_tabulex -o -o 'C:\out\third.csv'
expect_console 'C:\out\third.csv'
expect_listing_file "$out_dir/third.csv"

echo "== a folder that does not exist gives no file and the same console lines"
run_tabulex -o 'C:\no_such_folder\ServiceInfo.csv'
expect_console 'C:\no_such_folder\ServiceInfo.csv'
[ -e "$drive_c/no_such_folder" ] && fail "the missing folder appeared"

echo "== services of our own: a comma in the display name, and no display name"
delete_created_services
wine sc create TabulexComma binPath= "C:\\windows\\system32\\notepad.exe" DisplayName= "A, B" start= demand >/dev/null
wine sc create TabulexNoName binPath= "C:\\Program Files\\No Name\\nn.exe -k x" start= disabled >/dev/null
# Restart the service manager so that it loads every service in registry order.
wineserver -k
wineserver -w
wineserver -p

# Auto-start services come up after the restart; wait until the listing holds still.
settled=""
for _ in $(seq 40); do
  run_tabulex -o 'C:\out\settle.csv'
  if ! grep -q Pending "$out_dir/settle.csv" && [ -f "$work/previous.csv" ] && cmp -s "$out_dir/settle.csv" "$work/previous.csv"; then
    settled=yes
    break
  fi
  cp "$out_dir/settle.csv" "$work/previous.csv"
  sleep 0.5
done
[ -n "$settled" ] || fail "the service states did not settle"

# An existing, longer file is replaced, not overwritten in place.
head -c 100000 /dev/zero | tr '\0' 'x' >"$out_dir/ServiceInfo.csv"
run_tabulex -o 'C:\out\ServiceInfo.csv'
expect_console 'C:\out\ServiceInfo.csv'
actual="$out_dir/ServiceInfo.csv"
cp "$actual" "$artifacts/ServiceInfo.csv"

grep -qx $'TabulexComma,A, B,Manual,Stopped,C:\\\\windows\\\\system32\\\\notepad.exe,LocalSystem,0\r' "$actual" ||
  fail "the line of TabulexComma is not exact"
grep -qx $'TabulexNoName,,Disabled,Stopped,C:\\\\Program Files\\\\No Name\\\\nn.exe -k x,LocalSystem,0\r' "$actual" ||
  fail "the line of TabulexNoName is not exact"
header_fields=$(head -n 1 "$actual" | awk -F, '{ print NF }')
comma_fields=$(grep '^TabulexComma,' "$actual" | awk -F, '{ print NF }')
[ "$comma_fields" -eq $((header_fields + 1)) ] || fail "the comma line has $comma_fields fields, not $((header_fields + 1))"

echo "== every line ends in CR LF, the last one too, and nothing follows"
[ "$(tail -c 2 "$actual" | od -An -c | tr -d ' ')" = '\r\n' ] || fail "the file does not end in CR LF"
[ "$(tr -cd '\n' <"$actual" | wc -c)" -eq "$(tr -cd '\r' <"$actual" | wc -c)" ] || fail "a line end is not CR LF"
grep -q $'\r\r' "$actual" && fail "a doubled CR"
grep -qi '^winebus,' "$actual" && fail "a kernel driver was listed"

echo "== the whole file, against the registry, sc query and the process list"
# expected_listing LISTING: what the registry, sc query and the process list
# say LISTING must hold, into $work/ServiceInfo.expected.
expected_listing() {
  wine regedit /E 'C:\out\services.reg' 'HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services'
  cp "$out_dir/services.reg" "$work/services.reg"
  {
    python3 "$helpers/expected_services.py" names "$work/services.reg"
    tail -n +2 "$1" | cut -d, -f1
  } | sort -u | while read -r service; do
    state=$(wine sc query "$service" | tr -d '\r' | awk '$1 == "STATE" { print $3 }')
    echo "$service ${state:--1}"
  done >"$work/states"
  wine winedbg --command "info proc" >"$work/processes" 2>/dev/null
  python3 "$helpers/expected_services.py" csv "$work/services.reg" "$work/states" "$work/processes" "$1" \
    >"$work/ServiceInfo.expected"
}
expected_listing "$actual"
# Wine starts a service on demand (RpcSs for the first RPC client) at any
# moment, also between the listing and the queries: then a fresh listing
# is compared again, up to three times.
for _ in 1 2; do
  cmp -s "$work/ServiceInfo.expected" "$actual" && break
  echo "a service changed its state meanwhile: $(diff "$work/ServiceInfo.expected" "$actual" | grep '^>' | tr -d '\r')"
  sleep 2
  run_tabulex -o 'C:\out\ServiceInfo.csv'
  expected_listing "$actual"
done
cp "$work/ServiceInfo.expected" "$artifacts/ServiceInfo.expected.csv"
expect_same_file "ServiceInfo.csv" "$work/ServiceInfo.expected" "$actual"
echo "$(($(wc -l <"$actual") - 1)) services listed"

delete_created_services
for service in "${created[@]}"; do
  wine sc query "$service" >/dev/null 2>&1 && fail "$service was not deleted"
done
echo "ok"
