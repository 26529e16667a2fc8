// Windows Server 2003 has no GetTickCount64, yet the static POSIX threading
// runtime refers to it; an executable importing it would not even load there.
// Defining the import slot here satisfies that reference without an import:
// the real function is used where the system has it, a wrapping count of
// GetTickCount otherwise.
#include <windows.h>

namespace {

using TickCount64Function = ULONGLONG(WINAPI*)();

ULONGLONG WINAPI CountedTicks() {
  static LONG wraps = 0;
  static DWORD last = 0;
  const DWORD now = GetTickCount();
  if (now < last) InterlockedIncrement(&wraps);
  last = now;
  return (static_cast<ULONGLONG>(static_cast<DWORD>(wraps)) << 32) | now;
}

ULONGLONG WINAPI TickCount64() {
  static const auto system = reinterpret_cast<TickCount64Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount64")));
  return system != nullptr ? system() : CountedTicks();
}

}  // namespace

#ifdef _WIN64
extern "C" TickCount64Function importSlotGetTickCount64 __asm__("__imp_GetTickCount64");
#else
extern "C" TickCount64Function importSlotGetTickCount64 __asm__("__imp__GetTickCount64@0");
#endif
extern "C" {
TickCount64Function importSlotGetTickCount64 = &TickCount64;
}
