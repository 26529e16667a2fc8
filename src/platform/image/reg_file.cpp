#include "platform/image/reg_file.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "common/ansi_code_page.h"
#include "common/text.h"

namespace fernwick::image {
namespace {

enum class Format { Regedit4, Version5 };

// The file as ANSI text, with the encoding the byte-order mark names.
std::string DecodeText(std::string_view bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    return Utf16LeBytesToAnsi(bytes.substr(2));
  }
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return Utf8ToAnsi(bytes.substr(3));
  return std::string(bytes);
}

// The lines of the decoded text one at a time, without their CR and
// trailing NULs: an export of a million empty lines costs no more than its
// text. A final line end starts no line.
class LineCursor {
 public:
  explicit LineCursor(const std::string& text) : text_(text) {}

  // The next line and its number; false after the last.
  bool Next(std::string& line, int& number) {
    if (done_) return false;
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string::npos) end = text_.size();
    line.assign(text_, pos_, end - pos_);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\0')) line.pop_back();
    number = ++number_;
    if (end + 1 >= text_.size()) done_ = true;
    pos_ = end + 1;
    return true;
  }

 private:
  const std::string& text_;
  std::size_t pos_ = 0;
  int number_ = 0;
  bool done_ = false;
};

class Parser {
 public:
  Parser(RegistryDouble& registry, std::string name) : registry_(registry), name_(std::move(name)) {}

  void Run(LineCursor lines) {
    std::string text;
    int number = 0;
    bool any = lines.Next(text, number);
    while (any && Trim(text).empty()) any = lines.Next(text, number);
    if (!any) Fail(1, "empty file, expected a registry export header");
    const std::string header = Trim(text);
    if (header == "REGEDIT4") {
      format_ = Format::Regedit4;
    } else if (header == "Windows Registry Editor Version 5.00") {
      format_ = Format::Version5;
    } else {
      Fail(number, "not a registry export (first line is \"" + header + "\")");
    }
    std::string logical;
    std::string next;
    int nextNumber = 0;
    while (lines.Next(logical, number)) {
      // A value's hex data may continue on following lines after a
      // backslash. Whether the line is such a value is decided once, on its
      // first line; each further line is only looked at for its own end.
      if (IsValueLine(logical) && ContainsNoCase(logical, "=hex")) {
        while (EndsWithContinuation(logical)) {
          logical.resize(logical.find_last_not_of(" \t"));  // drops the backslash and the blanks after it
          if (!lines.Next(next, nextNumber)) Fail(number, "line continuation at the end of the file");
          const auto first = next.find_first_not_of(" \t");
          if (first != std::string::npos) logical.append(next, first);
        }
      }
      ParseLine(logical, number);
    }
  }

 private:
  static std::string TrimLeft(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : s.substr(first);
  }
  static bool IsValueLine(const std::string& s) {
    const std::string t = TrimLeft(s);
    return !t.empty() && (t[0] == '"' || t[0] == '@');
  }
  // Only hex data continues; a quoted string may itself end in a backslash.
  static bool EndsWithContinuation(const std::string& s) {
    const auto last = s.find_last_not_of(" \t");
    return last != std::string::npos && s[last] == '\\';
  }

  // Levels below the hive; one trailing backslash names no level.
  static std::size_t Depth(const std::string& path) {
    const std::size_t end = path.back() == '\\' ? path.size() - 1 : path.size();
    return static_cast<std::size_t>(std::count(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(end), '\\'));
  }

  [[noreturn]] void Fail(int line, const std::string& message) const {
    throw RegFileError(name_ + ":" + std::to_string(line) + ": " + message);
  }

  void ParseLine(const std::string& raw, int number) {
    std::string line = TrimLeft(raw);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
    if (line.empty() || line[0] == ';') return;
    if (line[0] == '[') return ParseKey(line, number);
    if (line[0] == '"' || line[0] == '@') return ParseValue(line, number);
    Fail(number, "unexpected text: " + line);
  }

  void ParseKey(const std::string& line, int number) {
    if (line.back() != ']') Fail(number, "key line without closing ']'");
    std::string path = line.substr(1, line.size() - 2);
    const bool remove = !path.empty() && path[0] == '-';
    if (remove) path.erase(0, 1);
    if (path.empty()) Fail(number, "empty key name");
    if (path.find('\0') != std::string::npos) Fail(number, "NUL character in the key name");
    if (Depth(path) > kMaxKeyDepth) {
      Fail(number, "key nested deeper than " + std::to_string(kMaxKeyDepth) + " levels");
    }
    if (remove) {
      registry_.DeleteKey(path);
      currentKey_.clear();
      deletedSection_ = true;
      return;
    }
    if (!registry_.CreateKey(path)) Fail(number, "unknown hive or bad key path: " + path);
    currentKey_ = path;
    deletedSection_ = false;
  }

  std::string ParseQuoted(const std::string& line, std::size_t& pos, int number) const {
    std::string out;
    ++pos;  // opening quote
    while (pos < line.size()) {
      const char c = line[pos++];
      if (c == '"') return out;
      if (c == '\\') {
        if (pos == line.size()) break;
        out.push_back(line[pos++]);  // \\ and \" are the escapes regedit writes
        continue;
      }
      out.push_back(c);
    }
    Fail(number, "unterminated quoted string");
  }

  std::vector<std::uint8_t> ParseHexBytes(const std::string& text, int number) const {
    std::vector<std::uint8_t> bytes;
    std::size_t pos = 0;
    while (pos < text.size()) {
      while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
      if (pos == text.size()) break;
      std::size_t end = text.find(',', pos);
      if (end == std::string::npos) end = text.size();
      const std::string item = Trim(text.substr(pos, end - pos));
      if (item.empty() || item.size() > 2 || item.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        Fail(number, "bad hex byte \"" + item + "\"");
      }
      bytes.push_back(static_cast<std::uint8_t>(std::stoul(item, nullptr, 16)));
      pos = end + 1;
      if (end == text.size()) break;
    }
    return bytes;
  }

  // Text kinds are held as the ANSI query returns them; version 5 files
  // carry them as UTF-16LE.
  std::vector<std::uint8_t> StoredText(std::uint32_t type, std::vector<std::uint8_t> bytes) const {
    const bool isText = type == platform::kRegSz || type == platform::kRegExpandSz || type == platform::kRegMultiSz;
    if (!isText || format_ == Format::Regedit4) return bytes;
    const std::string ansi =
        Utf16LeBytesToAnsi(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return {ansi.begin(), ansi.end()};
  }

  void ParseValue(const std::string& line, int number) {
    if (currentKey_.empty()) {
      if (deletedSection_) return;
      Fail(number, "value outside of a key");
    }
    std::string valueName;
    std::size_t pos = 0;
    if (line[0] == '@') {
      pos = 1;
    } else {
      valueName = ParseQuoted(line, pos, number);
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos == line.size() || line[pos] != '=') Fail(number, "expected '=' after the value name");
    const std::string data = Trim(line.substr(pos + 1));
    if (data == "-") {
      registry_.DeleteValue(currentKey_, valueName);
      return;
    }
    StoredValue value;
    if (!data.empty() && data[0] == '"') {
      std::size_t p = 0;
      const std::string text = ParseQuoted(data, p, number);
      if (!Trim(data.substr(p)).empty()) Fail(number, "text after the closing quote");
      value.type = platform::kRegSz;
      value.data.assign(text.begin(), text.end());
      value.data.push_back(0);
    } else if (StartsWithNoCase(data, "dword:")) {
      const std::string digits = Trim(data.substr(6));
      if (digits.empty() || digits.size() > 8 ||
          digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        Fail(number, "bad dword \"" + digits + "\"");
      }
      const auto number32 = static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
      value.type = platform::kRegDword;
      for (int i = 0; i < 4; ++i) value.data.push_back(static_cast<std::uint8_t>(number32 >> (8 * i)));
    } else if (StartsWithNoCase(data, "hex:")) {
      value.type = platform::kRegBinary;
      value.data = ParseHexBytes(data.substr(4), number);
    } else if (StartsWithNoCase(data, "hex(")) {
      const auto close = data.find("):");
      const std::string kind = close == std::string::npos ? std::string() : data.substr(4, close - 4);
      if (kind.empty() || kind.size() > 8 || kind.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        Fail(number, "bad hex(type) prefix");
      }
      value.type = static_cast<std::uint32_t>(std::stoul(kind, nullptr, 16));
      value.data = StoredText(value.type, ParseHexBytes(data.substr(close + 2), number));
    } else {
      Fail(number, "unknown value data: " + data);
    }
    registry_.SetValue(currentKey_, valueName, std::move(value));
  }

  RegistryDouble& registry_;
  std::string name_;
  Format format_ = Format::Regedit4;
  std::string currentKey_;
  bool deletedSection_ = false;
};

}  // namespace

void LoadRegText(RegistryDouble& registry, std::string_view bytes, const std::string& name) {
  const std::string text = DecodeText(bytes);
  Parser(registry, name).Run(LineCursor(text));
}

void LoadRegFile(RegistryDouble& registry, const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw RegFileError(file.string() + ": cannot be read");
  std::ostringstream content;
  content << in.rdbuf();
  LoadRegText(registry, content.str(), file.string());
}

}  // namespace fernwick::image
