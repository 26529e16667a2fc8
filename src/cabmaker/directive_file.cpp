#include "cabmaker/directive_file.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>

namespace fernwick::cabmaker {
namespace {

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string_view TrimView(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string StarToOne(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '*') {
      out += '1';
    } else {
      out += c;
    }
  }
  return out;
}

struct Failure {
  std::string message;
};

// One parser run: variables and the line being read.
class Parser {
 public:
  std::variant<Directives, DirectiveError> Run(std::string_view text);

 private:
  void Line(std::string_view line);
  void Directive(std::string_view body);
  void Set(std::string_view assignment);
  void File(std::string_view line);
  std::string Substitute(std::string_view text) const;
  // Splits at blanks outside quotes; quotes removed, "" inside quotes kept as one.
  static std::vector<std::string> Tokens(std::string_view text);
  static std::string_view WithoutComment(std::string_view line);
  static bool Switch(const std::string& name, const std::string& value);
  static std::uint64_t DiskSize(const std::string& value);

  Directives out_;
  std::map<std::string, std::string> user_;  // upper-cased name -> value
  bool explicit_ = false;
  bool newFolder_ = true;
  int lineNumber_ = 0;
};

std::string_view Parser::WithoutComment(std::string_view line) {
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (!quoted && line[i] == ';' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) return line.substr(0, i);
  }
  return line;
}

std::vector<std::string> Parser::Tokens(std::string_view text) {
  std::vector<std::string> tokens;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i == text.size()) break;
    std::string token;
    bool quoted = false;
    for (; i < text.size(); ++i) {
      const char c = text[i];
      if (c == '"') {
        if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
          token += '"';
          ++i;
        } else {
          quoted = !quoted;
        }
      } else if (!quoted && (c == ' ' || c == '\t')) {
        break;
      } else {
        token += c;
      }
    }
    if (quoted) throw Failure{"a quote is not closed"};
    tokens.push_back(std::move(token));
  }
  return tokens;
}

std::string Parser::Substitute(std::string_view text) const {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    const auto close = text.find('%', i + 1);
    if (close == std::string_view::npos) throw Failure{"a % has no closing %"};
    const std::string name = Upper(text.substr(i + 1, close - i - 1));
    if (name.empty()) {
      out += '%';
    } else if (const auto it = user_.find(name); it != user_.end()) {
      out += it->second;
    } else {
      throw Failure{"variable \"" + std::string(text.substr(i + 1, close - i - 1)) + "\" is not defined"};
    }
    i = close;
  }
  return out;
}

bool Parser::Switch(const std::string& name, const std::string& value) {
  const std::string v = Upper(value);
  if (v == "ON" || v == "YES" || v == "TRUE" || v == "1") return true;
  if (v == "OFF" || v == "NO" || v == "FALSE" || v == "0") return false;
  throw Failure{name + " must be on or off, not \"" + value + "\""};
}

std::uint64_t Parser::DiskSize(const std::string& value) {
  static const std::map<std::string, std::uint64_t> kNamed = {
      {"CDROM", 681984000}, {"2.88M", 2949120}, {"1.44M", 1457664}, {"1.25M", 1250304},
      {"1.2M", 1228800},    {"720K", 737280},   {"360K", 362496}};
  if (const auto it = kNamed.find(Upper(value)); it != kNamed.end()) return it->second;
  if (value.empty() || value.size() > 15 ||
      !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    throw Failure{"MaxDiskSize must be a number of bytes or a disk name, not \"" + value + "\""};
  }
  return std::stoull(value);
}

void Parser::Set(std::string_view assignment) {
  const auto equals = assignment.find('=');
  if (equals == std::string_view::npos) throw Failure{".Set needs name=value"};
  const std::string name(TrimView(assignment.substr(0, equals)));
  if (name.empty()) throw Failure{".Set needs a variable name"};
  const auto tokens = Tokens(Substitute(TrimView(assignment.substr(equals + 1))));
  if (tokens.size() > 1) throw Failure{"the value of " + name + " has blanks: quote it"};
  const std::string value = tokens.empty() ? std::string() : tokens[0];
  const std::string key = Upper(name);
  if (key == "CABINETNAMETEMPLATE") {
    if (value.empty()) throw Failure{"CabinetNameTemplate is empty"};
    out_.cabinetNameTemplate = value;
  } else if (key == "DISKDIRECTORYTEMPLATE") {
    out_.diskDirectoryTemplate = value;
  } else if (key == "CABINET") {
    if (!Switch(name, value)) throw Failure{"Cabinet=off (files copied loose) is not supported"};
  } else if (key == "COMPRESS") {
    out_.compress = Switch(name, value);
  } else if (key == "COMPRESSIONTYPE") {
    if (Upper(value) != "MSZIP") throw Failure{"CompressionType " + value + " is not supported: use MSZIP"};
  } else if (key == "MAXDISKSIZE" || key == "MAXDISKSIZE1") {
    out_.maxDiskSize = DiskSize(value);
  } else if (key == "RPTFILENAME") {
    out_.rptFileName = value;
  } else if (key == "INFFILENAME") {
    out_.infFileName = value;
  } else if (key == "SOURCEDIR" || key == "DESTINATIONDIR") {
    // kept in user_ below and applied to the file lines
  } else if (explicit_ && !user_.count(key)) {
    throw Failure{"unknown variable \"" + name + "\" under .Option Explicit"};
  }
  user_[key] = value;
}

void Parser::Directive(std::string_view body) {
  const auto tokens = Tokens(body);
  const std::string verb = tokens.empty() ? std::string() : Upper(tokens[0]);
  if (verb == "SET") {
    const auto blank = body.find_first_of(" \t");
    Set(blank == std::string_view::npos ? std::string_view() : body.substr(blank + 1));
  } else if (verb == "OPTION") {
    if (tokens.size() != 2 || Upper(tokens[1]) != "EXPLICIT") throw Failure{"only .Option Explicit is known"};
    explicit_ = true;
  } else if (verb == "NEW") {
    const std::string what = tokens.size() == 2 ? Upper(tokens[1]) : std::string();
    if (what == "FOLDER") {
      newFolder_ = true;
    } else if (what == "CABINET" || what == "DISK") {
      throw Failure{"more than one cabinet is not supported"};
    } else {
      throw Failure{".New needs Folder"};
    }
  } else if (verb == "DEFINE") {
    const auto blank = body.find_first_of(" \t");
    const std::string_view rest = blank == std::string_view::npos ? std::string_view() : body.substr(blank + 1);
    const auto equals = rest.find('=');
    if (equals == std::string_view::npos) throw Failure{".Define needs name=value"};
    const auto tokens2 = Tokens(Substitute(TrimView(rest.substr(equals + 1))));
    user_[Upper(TrimView(rest.substr(0, equals)))] = tokens2.empty() ? std::string() : tokens2[0];
  } else {
    throw Failure{"unknown directive \"." + (tokens.empty() ? std::string() : tokens[0]) + "\""};
  }
}

void Parser::File(std::string_view line) {
  std::vector<std::string> names;
  bool optional = false;
  for (auto& token : Tokens(Substitute(line))) {
    if (!token.empty() && token[0] == '/') {
      const std::string option = Upper(token);
      if (option == "/OPTIONAL" || option == "/OPTIONAL=YES") optional = true;
      continue;  // other per-file options such as /inf=no
    }
    names.push_back(std::move(token));
  }
  if (names.empty()) return;
  if (names.size() > 2) throw Failure{"a file line holds a source and at most one name in the cabinet"};
  FileSpec entry;
  entry.line = lineNumber_;
  entry.optional = optional;
  entry.source = names[0];
  if (entry.source.empty()) throw Failure{"the source name is empty"};
  entry.named = entry.source;
  const std::string& sourceDir = user_["SOURCEDIR"];
  const bool absolute =
      entry.source[0] == '\\' || entry.source[0] == '/' || entry.source.find(':') != std::string::npos;
  if (!sourceDir.empty() && !absolute) {
    const char last = sourceDir.back();
    entry.source = sourceDir + (last == '\\' || last == '/' ? "" : "\\") + entry.source;
  }
  if (names.size() == 2) {
    entry.destination = names[1];
  } else {
    const auto slash = names[0].find_last_of("\\/:");
    entry.destination = slash == std::string::npos ? names[0] : names[0].substr(slash + 1);
  }
  const std::string& destinationDir = user_["DESTINATIONDIR"];
  if (!destinationDir.empty()) entry.destination = destinationDir + "\\" + entry.destination;
  if (entry.destination.empty() || entry.destination.size() > 255) {
    throw Failure{"the name inside the cabinet must have 1 to 255 characters"};
  }
  if (newFolder_) {
    out_.folders.emplace_back();
    newFolder_ = false;
  }
  out_.folders.back().push_back(std::move(entry));
}

void Parser::Line(std::string_view line) {
  line = TrimView(WithoutComment(line));
  if (line.empty()) return;
  if (line[0] == '.') {
    Directive(line.substr(1));
  } else {
    File(line);
  }
}

std::variant<Directives, DirectiveError> Parser::Run(std::string_view text) {
  int number = 0;
  while (!text.empty()) {
    ++number;
    const auto end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    if (end == std::string_view::npos) {
      text = {};
    } else {
      text.remove_prefix(end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1));
    }
    if (line.find('\0') != std::string_view::npos) return DirectiveError{number, "the line holds a NUL character"};
    lineNumber_ = number;
    try {
      Line(line);
    } catch (const Failure& failure) {
      return DirectiveError{number, failure.message};
    }
  }
  if (out_.folders.empty()) return DirectiveError{0, "no files to pack"};
  return out_;
}

}  // namespace

std::string Directives::CabinetName() const {
  return StarToOne(cabinetNameTemplate);
}

std::string Directives::DiskDirectory() const {
  const std::string folder = StarToOne(diskDirectoryTemplate);
  return folder == "." ? std::string() : folder;
}

std::variant<Directives, DirectiveError> ParseDirectives(std::string_view text) {
  return Parser().Run(text);
}

}  // namespace fernwick::cabmaker
