#include "platform/image/ini_file.h"

#include "common/text.h"

namespace fernwick::image {
namespace {
std::string Upper(std::string_view text) {
  return ToUpper(Trim(text));
}
std::string_view StripLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  return line;
}
}  // namespace

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  std::map<std::string, std::string>* section = &ini.sections_[""];
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string trimmed = Trim(StripLineEnd(text.substr(pos, end - pos)));
    pos = end + 1;
    if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#') continue;
    if (trimmed.front() == '[' && trimmed.back() == ']') {
      section = &ini.sections_[Upper(std::string_view(trimmed).substr(1, trimmed.size() - 2))];
      continue;
    }
    const auto eq = trimmed.find('=');
    if (eq == std::string::npos) continue;
    (*section)[Upper(std::string_view(trimmed).substr(0, eq))] = Trim(std::string_view(trimmed).substr(eq + 1));
  }
  return ini;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
  const auto found = sections_.find(Upper(section));
  if (found == sections_.end()) return std::nullopt;
  const auto it = found->second.find(Upper(key));
  if (it == found->second.end()) return std::nullopt;
  return it->second;
}

std::string IniFile::GetOr(std::string_view section, std::string_view key, std::string fallback) const {
  return Get(section, key).value_or(std::move(fallback));
}

std::map<std::string, std::string> IniFile::Section(std::string_view section) const {
  const auto found = sections_.find(Upper(section));
  return found == sections_.end() ? std::map<std::string, std::string>() : found->second;
}

}  // namespace fernwick::image
