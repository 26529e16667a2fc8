// Starts its one argument as a command line with CreateProcessA, unchanged,
// as Fernwick starts programs, waits for it and ends with its exit code
// (255 when it could not be started).
#include <windows.h>

#include <string>

int main(int argc, char** argv) {
  if (argc != 2) return 255;
  std::string commandLine = argv[1];
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
  return static_cast<int>(code);
}
