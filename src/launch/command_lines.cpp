#include "launch/command_lines.h"

namespace fernwick::launch {

std::string Quoted(std::string_view path) {
  std::string text = "\"";
  text += path;
  if (!path.empty() && path.back() == '\\') text += '\\';
  return text + "\"";
}

std::string PathIn(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path + std::string(name);
}

std::string BatchCommandLine(std::string_view folder, std::string_view batchFile,
                             const std::vector<std::string>& pathArguments) {
  std::string line = Quoted(PathIn(folder, batchFile));
  for (const std::string& argument : pathArguments) line += " " + Quoted(argument);
  return line;
}

std::string ProgramCommandLine(std::string_view folder, std::string_view program, std::string_view options) {
  std::string line = Quoted(PathIn(folder, program));
  if (!options.empty()) line += " " + std::string(options);
  return line;
}

}  // namespace fernwick::launch
