// Drives the main window's Browse button and the folder picker from another
// process, for the Wine tests:
//   browse_driver pick PATH    press Browse, select PATH in the picker
//                              (BFFM_SETSELECTION) and press OK; prints the
//                              text of a message box that follows, if any,
//                              and closes it with OK
//   browse_driver cancel       press Browse and Cancel
// Exit code 0 on success, 1 when a window did not appear, 2 on bad usage.
#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "../../../src/frontend/win32/control_ids.h"

namespace {

struct Search {
  DWORD thread;
  HWND except;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (window != search->except && std::strcmp(className, "#32770") == 0 && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// A visible dialog of the main window's thread other than `except`.
HWND WaitForDialog(DWORD thread, HWND except, int timeoutMs) {
  for (int waited = 0; waited <= timeoutMs; waited += 50) {
    Search search{thread, except, nullptr};
    EnumThreadWindows(thread, FindDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    Sleep(50);
  }
  return nullptr;
}

BOOL CALLBACK PrintStatic(HWND child, LPARAM) {
  char className[16] = {};
  GetClassNameA(child, className, sizeof className);
  if (std::strcmp(className, "Static") == 0 || std::strcmp(className, "STATIC") == 0) {
    char text[1024] = {};
    SendMessageA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    if (text[0] != '\0') std::printf("%s\n", text);
  }
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string verb = argv[1];
  HWND main = FindWindowA(FERNWICK_MAIN_CLASS, "Fernwick");
  if (main == nullptr) return 1;
  DWORD processId = 0;
  const DWORD thread = GetWindowThreadProcessId(main, &processId);
  PostMessageA(GetDlgItem(main, FERNWICK_CONTROL_ID_BASE + 2), BM_CLICK, 0, 0);
  HWND picker = WaitForDialog(thread, nullptr, 20000);
  if (picker == nullptr) return 1;
  if (verb == "cancel") {
    SendMessageA(picker, WM_COMMAND, IDCANCEL, 0);
    return 0;
  }
  if (verb != "pick" || argc != 3) return 2;
  // The path must lie in the picker's process for BFFM_SETSELECTION.
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
  if (process == nullptr) return 1;
  const std::size_t size = std::strlen(argv[2]) + 1;
  void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  WriteProcessMemory(process, remote, argv[2], size, nullptr);
  SendMessageA(picker, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(remote));
  Sleep(300);
  SendMessageA(picker, WM_COMMAND, IDOK, 0);
  if (HWND box = WaitForDialog(thread, picker, 3000)) {
    EnumChildWindows(box, PrintStatic, 0);
    SendMessageA(box, WM_COMMAND, IDOK, 0);
  }
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return 0;
}
