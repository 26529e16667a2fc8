// The C++ runtime links the static thread library, and that library imports
// GetTickCount64, which kernel32 has only from Vista and Server 2008 on: with
// that import the program would not even load on Server 2003. Its import slot
// is filled here instead, with a stand-in built on GetTickCount. The thread
// library wants it only for timed waits, which this single-threaded program
// never makes, so the 49.7-day wrap of GetTickCount cannot matter.
#include <windows.h>

namespace {

ULONGLONG WINAPI TickCount64() { return GetTickCount(); }

}  // namespace

extern "C" {
#if defined(__i386__)
ULONGLONG(WINAPI* tabulexTickCount64Import)() __asm__("__imp__GetTickCount64@0") = TickCount64;
#else
ULONGLONG(WINAPI* tabulexTickCount64Import)() __asm__("__imp_GetTickCount64") = TickCount64;
#endif
}
