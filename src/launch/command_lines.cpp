#include "launch/command_lines.h"

namespace fernwick::launch {

// Built by appending in place: GCC 12 at -O3 warns falsely (-Wrestrict)
// about `"\"" + text` chains of std::string.

std::string Quoted(std::string_view path) {
  std::string text;
  text.reserve(path.size() + 3);
  text.push_back('"');
  text.append(path);
  if (!path.empty() && path.back() == '\\') text.push_back('\\');
  text.push_back('"');
  return text;
}

std::string PathIn(std::string_view folder, std::string_view name) {
  std::string path;
  path.reserve(folder.size() + name.size() + 1);
  path.append(folder);
  if (!path.empty() && path.back() != '\\') path.push_back('\\');
  path.append(name);
  return path;
}

std::string BatchCommandLine(std::string_view folder, std::string_view batchFile,
                             const std::vector<std::string>& pathArguments) {
  std::string line = Quoted(PathIn(folder, batchFile));
  for (const std::string& argument : pathArguments) {
    line.push_back(' ');
    line.append(Quoted(argument));
  }
  return line;
}

std::string ProgramCommandLine(std::string_view folder, std::string_view program, std::string_view options) {
  std::string line = Quoted(PathIn(folder, program));
  if (!options.empty()) {
    line.push_back(' ');
    line.append(options);
  }
  return line;
}

}  // namespace fernwick::launch
