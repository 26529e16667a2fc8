// Stands in for a Tabulex that outlives Fernwick's 30 s wait: "-o FILE"
// opens FILE for writing and lets others only read it, writes the CSV header
// and keeps the file open until VoxtraInfo.cab appears beside it (at most
// 90 s), as a Tabulex stuck on a slow service manager would.
#include <windows.h>

#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (argc < 3 || std::strcmp(argv[1], "-o") != 0) return 2;
  const std::string path = argv[2];
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const char header[] =
      "ServiceName,DisplayName,Service Start Type,Service Status,Service Binary Path,Service Account,PID\r\n";
  DWORD written = 0;
  WriteFile(file, header, sizeof header - 1, &written, nullptr);
  const std::string cabinet = path.substr(0, path.find_last_of('\\') + 1) + "VoxtraInfo.cab";
  for (int i = 0; i < 900 && GetFileAttributesA(cabinet.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
  CloseHandle(file);
  return 0;
}
