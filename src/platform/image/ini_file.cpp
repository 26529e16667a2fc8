#include "platform/image/ini_file.h"

#include "common/text.h"

namespace fernwick::image {
namespace {
std::string Slot(std::string_view section, std::string_view key) {
  return ToUpper(Trim(section)) + "\n" + ToUpper(Trim(key));
}
std::string StripLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  return std::string(line);
}
}  // namespace

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  std::string section;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string line = StripLineEnd(text.substr(pos, end - pos));
    pos = end + 1;
    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#') continue;
    if (trimmed.front() == '[' && trimmed.back() == ']') {
      section = trimmed.substr(1, trimmed.size() - 2);
      continue;
    }
    const auto eq = trimmed.find('=');
    if (eq == std::string::npos) continue;
    ini.values_[Slot(section, trimmed.substr(0, eq))] = Trim(trimmed.substr(eq + 1));
  }
  return ini;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
  const auto it = values_.find(Slot(section, key));
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

std::string IniFile::GetOr(std::string_view section, std::string_view key, std::string fallback) const {
  return Get(section, key).value_or(std::move(fallback));
}

std::map<std::string, std::string> IniFile::Section(std::string_view section) const {
  std::map<std::string, std::string> entries;
  const std::string prefix = Slot(section, "");
  for (auto it = values_.lower_bound(prefix); it != values_.end() && it->first.starts_with(prefix); ++it) {
    entries.emplace(it->first.substr(prefix.size()), it->second);
  }
  return entries;
}

}  // namespace fernwick::image
