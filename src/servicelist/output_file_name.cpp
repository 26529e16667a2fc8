// Where the listing goes.
#include "servicelist/output_file_name.h"

namespace tabulex {

std::optional<std::string> OutputFileNameFromArguments(const std::vector<std::string_view>& arguments) {
  std::optional<std::string> name;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "-o" && i + 1 < arguments.size()) name = std::string(arguments[i + 1]);
  }
  return name;
}

std::string DefaultOutputFileName(std::string_view tempFolder) {
  if (tempFolder.empty()) return {};
  return std::string(tempFolder) + "Services.csv";
}

}  // namespace tabulex
