// Operates Fernwick's main window from another process, for the Wine tests.
//   guidriver wait                 wait until the main window exists
//   guidriver controls             one line per child: id class enabled visible rect | text
//   guidriver text ID              the text of a control
//   guidriver click ID             press a button (returns when its handler has)
//   guidriver command ID           send a menu command
//   guidriver clipboard            the clipboard's text
//   guidriver resize W H           resize the window (pixels) and print its size after
//   guidriver close                close the window with the system close command
//   guidriver taborder             the control ids in tab order, from the first
//   guidriver priority             the priority class of the window's process, hex
//   guidriver gone                 wait until the main window no longer exists
// Exit code 0 on success, 1 when the window cannot be found, 2 on bad usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>

#include "../../../src/frontend/win32/control_ids.h"

namespace {

HWND FindMain() {
  return FindWindowA(FERNWICK_MAIN_CLASS, "Fernwick");
}

HWND WaitForMain(int timeoutMs) {
  for (int waited = 0; waited <= timeoutMs; waited += 50) {
    if (HWND w = FindMain()) return w;
    Sleep(50);
  }
  return nullptr;
}

std::string ControlText(HWND control) {
  const auto length = SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
  SendMessageA(control, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  return std::string(buffer.data());
}

BOOL CALLBACK PrintChild(HWND child, LPARAM parent) {
  if (GetParent(child) != reinterpret_cast<HWND>(parent)) return TRUE;
  char className[64] = {};
  GetClassNameA(child, className, sizeof className);
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, reinterpret_cast<HWND>(parent), reinterpret_cast<POINT*>(&r), 2);
  std::printf("%d %s %s %s %ld,%ld,%ld,%ld | %s\n", GetDlgCtrlID(child), className,
              IsWindowEnabled(child) ? "enabled" : "disabled", IsWindowVisible(child) ? "visible" : "hidden", r.left,
              r.top, r.right - r.left, r.bottom - r.top, ControlText(child).c_str());
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc < 2) return 2;
  const std::string verb = argv[1];
  if (verb == "wait") return WaitForMain(30000) != nullptr ? 0 : 1;
  if (verb == "gone") {
    for (int waited = 0; waited <= 30000; waited += 50) {
      if (FindMain() == nullptr) return 0;
      Sleep(50);
    }
    return 1;
  }
  if (verb == "clipboard") {
    if (!OpenClipboard(nullptr)) return 1;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data != nullptr) {
      if (const char* text = static_cast<const char*>(GlobalLock(data))) {
        std::fwrite(text, 1, std::strlen(text), stdout);
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
    return data != nullptr ? 0 : 1;
  }
  HWND main = WaitForMain(30000);
  if (main == nullptr) return 1;
  if (verb == "controls") {
    EnumChildWindows(main, PrintChild, reinterpret_cast<LPARAM>(main));
    return 0;
  }
  if (verb == "taborder") {
    HWND first = GetNextDlgTabItem(main, nullptr, FALSE);
    HWND current = first;
    do {
      std::printf("%d\n", GetDlgCtrlID(current));
      current = GetNextDlgTabItem(main, current, FALSE);
    } while (current != nullptr && current != first);
    return 0;
  }
  if (verb == "priority") {
    DWORD processId = 0;
    GetWindowThreadProcessId(main, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (process == nullptr) return 1;
    std::printf("%lx\n", GetPriorityClass(process));
    CloseHandle(process);
    return 0;
  }
  if (verb == "close") {
    SendMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
  }
  if (argc < 3) return 2;
  if (verb == "resize" && argc >= 4) {
    SetWindowPos(main, nullptr, 0, 0, std::atoi(argv[2]), std::atoi(argv[3]), SWP_NOMOVE | SWP_NOZORDER);
    RECT r{};
    GetWindowRect(main, &r);
    std::printf("%ld %ld\n", r.right - r.left, r.bottom - r.top);
    return 0;
  }
  const int id = std::atoi(argv[2]);
  if (verb == "text") {
    const std::string text = ControlText(GetDlgItem(main, id));
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
  }
  if (verb == "click") {
    SendMessageA(GetDlgItem(main, id), BM_CLICK, 0, 0);
    return 0;
  }
  if (verb == "command") {
    SendMessageA(main, WM_COMMAND, static_cast<WPARAM>(id), 0);
    return 0;
  }
  return 2;
}
