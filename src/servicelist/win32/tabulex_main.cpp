// Tabulex: lists the Win32 services into a CSV file. It reports nothing on
// failure; the console lines are the same in every case and the exit code is
// always 1, so a caller judges only by the file.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "servicelist/output_file_name.h"
#include "servicelist/service_row.h"
#include "servicelist/win32/service_lister.h"

namespace {

// stdout is binary (see main), so the line end is written out in full.
void PrintLine(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fwrite(tabulex::kCrLf.data(), 1, tabulex::kCrLf.size(), stdout);
  std::fflush(stdout);
}

std::string TempFolder() {
  std::string folder(MAX_PATH + 1, '\0');
  DWORD length = GetTempPathA(static_cast<DWORD>(folder.size()), folder.data());
  if (length > folder.size()) {
    folder.assign(length, '\0');
    length = GetTempPathA(static_cast<DWORD>(folder.size()), folder.data());
  }
  if (length == 0 || length > folder.size()) return {};
  folder.resize(length);
  return folder;
}

std::string OutputFileName(int argc, char** argv) {
  std::vector<std::string_view> arguments(argv + 1, argv + argc);
  if (auto named = tabulex::OutputFileNameFromArguments(arguments)) return *named;
  return tabulex::DefaultOutputFileName(TempFolder());
}

}  // namespace

int main(int argc, char** argv) {
  // A text-mode stdout would turn "\r\n" into "\r\r\n".
  _setmode(_fileno(stdout), _O_BINARY);

  PrintLine("Usages: Tabulex -o <OutputFileName>");
  const std::string outputFileName = OutputFileName(argc, argv);
  {
    tabulex::win32::ServiceLister lister(outputFileName);
    lister.Run();
    PrintLine("Check the output in file : " + outputFileName);
    PrintLine("Please mail this file to Norvane TAC");
  }
  return 1;
}
