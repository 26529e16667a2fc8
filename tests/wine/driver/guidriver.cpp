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
//   guidriver post ID              send a menu command without waiting for its handler
//   guidriver wtext ID             the text of a control as UTF-8
//   guidriver fonts                one line per control of every shown window of
//                                  the program: window class, id, charset, face
//                                  (UTF-8), read inside the program by fontprobe.dll
//   guidriver popup ID             click the label ID; as fonts, with the items
//                                  ("menu ID caption") of the menu it pops up, closed after
//   guidriver about VERB [ID]      the same verbs (wait, gone, controls, fonts, text,
//                                  wtext, command) on the About window; gone waits
//                                  until it is hidden
//   guidriver msgbox               wait for a message box of the program: caption | text
//   guidriver nobox MS             succeeds when no message box shows within MS milliseconds
//   guidriver answer ID            press the button ID (1 OK, 2 Cancel) of the message box
// Exit code 0 on success, 1 when the window cannot be found, 2 on bad usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>

#include "../../../src/frontend/win32/about_ids.h"
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

std::string Utf8Text(HWND control) {
  const auto length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
  std::vector<wchar_t> wide(static_cast<std::size_t>(length) + 1);
  SendMessageW(control, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()));
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, utf8.data(), size, nullptr, nullptr);
  return std::string(utf8.c_str());
}

// Sets fontprobe.dll's hook on the program's window thread, so that Wine
// loads it into the program, asks it for the fonts and prints its answer.
int PrintFonts(HWND main) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.erase(folder.find_last_of('\\') + 1);
  HMODULE probe = LoadLibraryA((folder + "fontprobe.dll").c_str());
  if (probe == nullptr) return 1;
  auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "FontProbeHook")));
  const DWORD thread = GetWindowThreadProcessId(main, nullptr);
  HHOOK installed = hook != nullptr ? SetWindowsHookExA(WH_CALLWNDPROC, hook, probe, thread) : nullptr;
  if (installed == nullptr) return 1;
  const std::string output = folder + "fontprobe.txt";
  DeleteFileA(output.c_str());
  SendMessageA(main, RegisterWindowMessageA("FernwickFontProbe"), 0, 0);
  UnhookWindowsHookEx(installed);
  FILE* file = std::fopen(output.c_str(), "rb");
  if (file == nullptr) return 1;
  char block[4096];
  std::size_t got = 0;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) std::fwrite(block, 1, got, stdout);
  std::fclose(file);
  DeleteFileA(output.c_str());
  return 0;
}

HWND FindAbout() {
  return FindWindowA(FERNWICK_ABOUT_CLASS, nullptr);
}

// A message box is a dialog of the program's process that is not one of
// its own windows.
BOOL CALLBACK FindBox(HWND window, LPARAM found) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  DWORD mainProcess = 0;
  GetWindowThreadProcessId(FindMain(), &mainProcess);
  if (std::strcmp(className, "#32770") == 0 && IsWindowVisible(window) && processId == mainProcess) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForBox(int timeoutMs = 30000) {
  for (int waited = 0; waited <= timeoutMs; waited += 50) {
    HWND box = nullptr;
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
    if (box != nullptr) return box;
    Sleep(50);
  }
  return nullptr;
}

BOOL CALLBACK PrintBoxText(HWND child, LPARAM) {
  char className[16] = {};
  GetClassNameA(child, className, sizeof className);
  const std::string text = ControlText(child);
  if (std::strcmp(className, "Static") == 0 && !text.empty()) std::printf(" | %s", text.c_str());
  return TRUE;
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
  std::string verb = argv[1];
  if (verb == "wait") return WaitForMain(30000) != nullptr ? 0 : 1;
  if (verb == "gone") {
    for (int waited = 0; waited <= 30000; waited += 50) {
      if (FindMain() == nullptr) return 0;
      Sleep(50);
    }
    return 1;
  }
  if (verb == "clipboard") {
    // Wine's clipboard manager opens the clipboard for a moment after each
    // change, to hand it to X; another process's open fails meanwhile.
    bool open = false;
    for (int waited = 0; waited <= 5000 && !(open = OpenClipboard(nullptr)); waited += 50) Sleep(50);
    if (!open) return 1;
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
  if (verb == "msgbox") {
    HWND box = WaitForBox();
    if (box == nullptr) return 1;
    std::printf("%s", ControlText(box).c_str());
    EnumChildWindows(box, PrintBoxText, 0);
    std::printf("\n");
    return 0;
  }
  if (verb == "nobox" && argc >= 3) return WaitForBox(std::atoi(argv[2])) == nullptr ? 0 : 1;
  if (verb == "answer" && argc >= 3) {
    HWND box = WaitForBox();
    if (box == nullptr) return 1;
    PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0);
    for (int waited = 0; waited <= 30000 && IsWindow(box) && IsWindowVisible(box); waited += 50) Sleep(50);
    return 0;
  }
  HWND main = WaitForMain(30000);
  if (main == nullptr) return 1;
  if (verb == "about" && argc >= 3) {
    const std::string what = argv[2];
    HWND about = nullptr;
    for (int waited = 0; waited <= 30000; waited += 50) {
      about = FindAbout();
      const bool shown = about != nullptr && IsWindowVisible(about);
      if (what == "gone" ? !shown : shown) break;
      Sleep(50);
    }
    if (what == "gone") return about == nullptr || !IsWindowVisible(about) ? 0 : 1;
    if (about == nullptr || !IsWindowVisible(about)) return 1;
    if (what == "wait") return 0;
    // The remaining verbs act on the About window as they do on the main one.
    main = about;
    verb = what;
    argv += 1;
    argc -= 1;
  }
  if (verb == "fonts") return PrintFonts(main);
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
  if (verb == "popup") {
    // Clicks the label; the menu it pops up is listed and closed by fontprobe.dll.
    SendNotifyMessageA(main, WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), 0);
    HWND popup = nullptr;
    for (int waited = 0; waited <= 10000 && popup == nullptr; waited += 50) {
      popup = FindWindowA("#32768", nullptr);
      if (popup != nullptr && !IsWindowVisible(popup)) popup = nullptr;
      if (popup == nullptr) Sleep(50);
    }
    if (popup == nullptr) return 1;
    return PrintFonts(main);
  }
  if (verb == "post") {
    SendNotifyMessageA(main, WM_COMMAND, static_cast<WPARAM>(id), 0);
    return 0;
  }
  if (verb == "wtext") {
    const std::string text = Utf8Text(GetDlgItem(main, id));
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
  }
  return 2;
}
