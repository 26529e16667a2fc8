// Stands in for Wine's `systeminfo`, which prints nothing: prints the file
// beside it that has its own name with ".txt" (systeminfo.txt), byte for
// byte, so the gathering's si.bat captures a server image's output.
#include <windows.h>

#include <cstdio>
#include <string>

#include <fcntl.h>
#include <io.h>

int main() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string text(path, length);
  const auto dot = text.find_last_of('.');
  text = (dot == std::string::npos ? text : text.substr(0, dot)) + ".txt";
  std::FILE* in = std::fopen(text.c_str(), "rb");
  if (in == nullptr) return 1;
  _setmode(_fileno(stdout), _O_BINARY);
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) std::fwrite(buffer, 1, got, stdout);
  std::fclose(in);
  return 0;
}
