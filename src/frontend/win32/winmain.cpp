#include "platform/win32/windows_api.h"

#include "frontend/win32/main_window.h"
#include "frontend/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int showCommand) {
  fernwick::win32::Win32Platform platform;
  fernwick::win32::MainWindow window(instance, platform);
  const int startup = window.Start(showCommand);
  if (startup >= 0) return startup;
  return window.RunMessageLoop();
}
