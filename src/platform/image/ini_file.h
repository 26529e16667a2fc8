#pragma once
// The "key=value" files of a server image: [sections], keys matched without
// regard to case, ';' or '#' comment lines. Read line by line; a section's
// name is kept once, however many keys it holds.
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace fernwick::image {

class IniFile {
 public:
  static IniFile Parse(std::string_view text);

  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  std::string GetOr(std::string_view section, std::string_view key, std::string fallback) const;
  // Every key of a section (upper-cased) with its value, in key order.
  std::map<std::string, std::string> Section(std::string_view section) const;

 private:
  // Upper-cased section -> upper-cased key -> value.
  std::map<std::string, std::map<std::string, std::string>, std::less<>> sections_;
};

}  // namespace fernwick::image
