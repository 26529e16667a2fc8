#!/usr/bin/env bash
# The Windows executables must load on Windows Server 2003: they may import
# only DLLs that system ships, and none of the kernel32 functions that came
# with later versions. Usage: check_imports.sh BUILD_DIR...
set -uo pipefail
allowed_dlls='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|version|netapi32|odbc32|wininet|msvcrt|ws2_32|shlwapi|cabinet|winspool\.drv|rpcrt4)(\.dll)?$'
later_functions='^(GetTickCount64|InitializeSRWLock|AcquireSRWLock.*|ReleaseSRWLock.*|TryAcquireSRWLock.*|InitializeConditionVariable|SleepConditionVariable.*|WakeConditionVariable|WakeAllConditionVariable|InitOnce.*|GetFileInformationByHandleEx|SetFileInformationByHandle|CreateSymbolicLink.*|GetFinalPathNameByHandle.*|CompareStringEx|LCIDToLocaleName|LocaleNameToLCID|GetLocaleInfoEx|CreateEventEx.*|CreateSemaphoreEx.*|CreateMutexEx.*|QueryFullProcessImageName.*|InitializeCriticalSectionEx|GetSystemTimePreciseAsFileTime|GetErrorMode|K32.*|GetCurrentProcessorNumber|FlushProcessWriteBuffers|CancelIoEx|GetQueuedCompletionStatusEx|SetThreadErrorMode|RegGetValue[AW]|RegDeleteKeyEx[AW]|RegOpenKeyTransacted.*)$'
status=0
for dir in "$@"; do
  for exe in "$dir"/Fernwick.exe "$dir"/Tabulex.exe "$dir"/cabmaker.exe "$dir"/dumpel.exe; do
    [ -f "$exe" ] || { echo "missing: $exe"; status=1; continue; }
    dump=$(x86_64-w64-mingw32-objdump -p "$exe")
    dlls=$(grep 'DLL Name:' <<<"$dump" | awk '{print $3}')
    bad_dlls=$(tr 'A-Z' 'a-z' <<<"$dlls" | grep -Ev "$allowed_dlls")
    bad_functions=$(awk '/DLL Name:/ {inside=1; next} inside && NF >= 3 && $1 ~ /^[0-9a-f]+$/ {print $NF}' <<<"$dump" |
      grep -E "$later_functions" | sort -u)
    size=$(stat -c %s "$exe")
    printf '%-40s %8d bytes  imports: %s\n' "$exe" "$size" "$(tr '\n' ' ' <<<"$dlls")"
    if [ -n "$bad_dlls" ]; then echo "  not on Windows Server 2003: $bad_dlls"; status=1; fi
    if [ -n "$bad_functions" ]; then echo "  functions newer than Windows Server 2003: $bad_functions"; status=1; fi
  done
done
if [ $status -eq 0 ]; then echo "imports: 1 passed, 0 failed"; else echo "imports: 0 passed, 1 failed"; fi
exit $status
