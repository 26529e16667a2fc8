// Stands in for a program Fernwick starts without waiting (Explorer): it
// appends its whole command line and a CR LF to C:\recorded_commands.txt.
#include <windows.h>

#include <cstdio>

int main() {
  if (std::FILE* out = std::fopen("C:\\recorded_commands.txt", "ab")) {
    std::fprintf(out, "%s\r\n", GetCommandLineA());
    std::fclose(out);
  }
  return 0;
}
