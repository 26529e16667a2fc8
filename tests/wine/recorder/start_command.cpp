// Starts its last argument as a command line with CreateProcessA,
// unchanged, as Fernwick starts programs, waits for it and ends with its
// exit code (255 when it could not be started). "--hold FILE" before it
// keeps FILE open for writing meanwhile, sharing it for reading only, as a
// program still writing its output does.
#include <windows.h>

#include <string>

int main(int argc, char** argv) {
  HANDLE held = INVALID_HANDLE_VALUE;
  if (argc == 4 && std::string(argv[1]) == "--hold") {
    held = CreateFileA(argv[2], GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) return 255;
  } else if (argc != 2) {
    return 255;
  }
  std::string commandLine = argv[argc - 1];
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started) ==
      FALSE) {
    return 255;
  }
  WaitForSingleObject(started.hProcess, INFINITE);
  DWORD code = 255;
  GetExitCodeProcess(started.hProcess, &code);
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  return static_cast<int>(code);
}
