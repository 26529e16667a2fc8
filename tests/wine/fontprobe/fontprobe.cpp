// A window hook that the Wine GUI driver sets on Fernwick's thread, so that
// Wine loads this library into Fernwick's process. There, on the registered
// message "FernwickFontProbe", it writes the font (charset and face name) of
// every control of every window of that thread, and the items of an open
// pop-up menu, into fontprobe.txt beside this library, then closes that
// menu: font and menu handles cannot be read from another process.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HMODULE self = nullptr;

struct Output {
  FILE* file;
  HWND top;
  bool menuOpen;
};

BOOL CALLBACK WriteControl(HWND child, LPARAM value) {
  auto* out = reinterpret_cast<Output*>(value);
  if (GetParent(child) != out->top) return TRUE;
  char className[64] = {};
  GetClassNameA(out->top, className, sizeof className);
  auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
  LOGFONTW logFont{};
  if (font == nullptr || GetObjectW(font, sizeof logFont, &logFont) == 0) {
    std::fprintf(out->file, "%s %d none\n", className, GetDlgCtrlID(child));
    return TRUE;
  }
  char face[LF_FACESIZE * 4] = {};
  WideCharToMultiByte(CP_UTF8, 0, logFont.lfFaceName, -1, face, sizeof face, nullptr, nullptr);
  std::fprintf(out->file, "%s %d %d %s\n", className, GetDlgCtrlID(child), logFont.lfCharSet, face);
  return TRUE;
}

void WriteMenu(FILE* file, HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t caption[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), caption, 256, MF_BYPOSITION);
    char utf8[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, caption, -1, utf8, sizeof utf8, nullptr, nullptr);
    std::fprintf(file, "menu %u %s\n", GetMenuItemID(menu, i), utf8);
  }
}

BOOL CALLBACK WriteWindow(HWND top, LPARAM value) {
  auto* thread = reinterpret_cast<Output*>(value);
  if (!IsWindowVisible(top)) return TRUE;
  char className[64] = {};
  GetClassNameA(top, className, sizeof className);
  if (std::string(className) == "#32768") {
    WriteMenu(thread->file, reinterpret_cast<HMENU>(SendMessageW(top, MN_GETHMENU, 0, 0)));
    thread->menuOpen = true;
    return TRUE;
  }
  Output out{thread->file, top, false};
  EnumChildWindows(top, WriteControl, reinterpret_cast<LPARAM>(&out));
  return TRUE;
}

void WriteFonts() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(self, path, MAX_PATH);
  std::wstring output(path);
  output.erase(output.find_last_of(L'\\') + 1);
  output += L"fontprobe.txt";
  FILE* file = _wfopen(output.c_str(), L"wb");
  if (file == nullptr) return;
  Output thread{file, nullptr, false};
  EnumThreadWindows(GetCurrentThreadId(), WriteWindow, reinterpret_cast<LPARAM>(&thread));
  std::fclose(file);
  if (thread.menuOpen) EndMenu();
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK FontProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (message->message == RegisterWindowMessageA("FernwickFontProbe")) WriteFonts();
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) self = instance;
  return TRUE;
}
