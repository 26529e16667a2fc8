#include "redaction/name_collection.h"

#include <string>
#include <vector>

#include "common/text.h"
#include "redaction/kept_names.h"

namespace fernwick::redaction {
namespace {

std::string_view TrimView(std::string_view text) {
  const std::string_view blanks = " \t\r\n\"'";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && Lower(text.substr(text.size() - tail.size())) == tail;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

bool IsDnsName(std::string_view text) {
  if (text.size() < 2 || text.front() == '.' || text.back() == '.' || text.find("..") != std::string_view::npos) {
    return false;
  }
  for (char c : text) {
    if (!IsNameChar(c) && c != '.') return false;
  }
  return text.find_first_not_of("0123456789.") != std::string_view::npos;
}

// A label and the kind of the value after it ("Host Name . . . : x",
// "Voxtra server name = x", "ComputerName=x").
struct Label {
  std::string_view text;
  Kind kind;
};

constexpr Label kLineLabels[] = {
    {"voxtra server name", Kind::Host},
    {"partner server name", Kind::Host},
    {"partner exchange server name", Kind::Host},
    {"partner domino server", Kind::Host},
    {"global catalog server", Kind::Host},
    {"active directory domain", Kind::Domain},
    {"domino domain", Kind::Domain},
    {"host name", Kind::Host},
    {"hostname", Kind::Host},  // Wine's ipconfig
    {"primary dns suffix", Kind::Domain},
    {"dns suffix search list", Kind::Domain},
    {"connection-specific dns suffix", Kind::Domain},
    {"registered owner", Kind::Name},
    {"registered organization", Kind::Name},
    {"product id", Kind::Name},
    {"logon server", Kind::Host},
    {"domain", Kind::Domain},
    {"server", Kind::Host},
    {"computername", Kind::Host},
    {"username", Kind::Account},
    {"logondomain", Kind::Domain},
    {"logonserver", Kind::Host},
    {"otherdomains", Kind::Domain},
};

// Registry value names (and database columns) that hold names.
constexpr Label kValueNames[] = {
    {"partner server name", Kind::Host},
    {"exchange server", Kind::Host},
    {"mail server name", Kind::Host},
    {"servername", Kind::Host},
    {"server", Kind::Host},
    {"defaultdomaincontroller", Kind::Host},
    {"defaultglobalcatalogserver", Kind::Host},
    {"domainname", Kind::Domain},
    {"domain", Kind::Domain},
    {"registeredowner", Kind::Name},
    {"registeredorganization", Kind::Name},
    {"productid", Kind::Name},
    {"homeserver", Kind::Host},
    {"currentdc", Kind::Host},
    {"alias", Kind::Account},
    {"dialingdomainname", Kind::Name},
    {"administrator", Kind::Account},
    {"serviceaccount", Kind::Account},
    {"organization", Kind::Name},
    {"site", Kind::Name},
    {"administrativegroup", Kind::Name},
};

const Label* FindLabel(std::string_view name, const Label* begin, const Label* end) {
  const std::string lower = Lower(TrimView(name));
  for (const Label* l = begin; l != end; ++l) {
    if (lower == l->text) return l;
  }
  return nullptr;
}

// "Label . . . : value", "Label = value", "Label=value", "Label:value".
void CollectLabelledLine(std::string_view line, RedactionMap& map, Kind& continuation) {
  const std::size_t separator = line.find_first_of("=:");
  if (separator == std::string_view::npos) {
    // The further lines of a list ("DNS Suffix Search List"): blanks, a value.
    if (!line.empty() && line.front() == ' ' && continuation == Kind::Domain) AddValue(Kind::Domain, line, map);
    return;
  }
  std::string_view label = line.substr(0, separator);
  while (!label.empty() && (label.back() == ' ' || label.back() == '.')) label.remove_suffix(1);
  const Label* found = FindLabel(label, std::begin(kLineLabels), std::end(kLineLabels));
  continuation = Kind::Label;
  std::string_view value = TrimView(line.substr(separator + 1));
  if (found == nullptr) {
    // "corp.example.com : DC01.corp.example.com" (domain controllers).
    const std::string_view left = TrimView(label);
    if (IsDnsName(left) && IsDnsName(value) && left.find('.') != std::string_view::npos) {
      AddValue(Kind::Domain, left, map);
      AddValue(Kind::Host, value, map);
    }
    return;
  }
  if (found->text == "dns suffix search list") continuation = Kind::Domain;
  if (found->text == "dns suffix search list" || found->text == "otherdomains") {
    // Lists, separated by blanks.
    for (const auto part : Split(value, ' ')) AddValue(found->kind, part, map);
  } else {
    AddValue(found->kind, value, map);
  }
}

// "Domain Controllers=corp.example.com: DC01.corp.example.com, ..." and
// "Mail Servers=Server1= Database:x Domain Name:Example Server Name:NOTES01/Example, ...".
void CollectListLine(std::string_view line, RedactionMap& map) {
  if (const auto dcs = line.find("Domain Controllers="); dcs != std::string_view::npos) {
    for (const auto pair : Split(line.substr(dcs + 19), ',')) {
      const auto colon = pair.find(':');
      if (colon == std::string_view::npos) continue;
      AddValue(Kind::Domain, TrimView(pair.substr(0, colon)), map);
      AddValue(Kind::Host, TrimView(pair.substr(colon + 1)), map);
    }
  }
  for (const auto& [label, kind] : {std::pair<std::string_view, Kind>{"Domain Name:", Kind::Domain},
                                    std::pair<std::string_view, Kind>{"Server Name:", Kind::Host}}) {
    for (std::size_t at = line.find(label); at != std::string_view::npos; at = line.find(label, at + 1)) {
      const std::size_t start = at + label.size();
      const std::size_t end = line.find_first_of(" ,", start);
      AddValue(kind, line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start), map);
    }
  }
}

void CollectText(std::string_view bytes, RedactionMap& map) {
  Kind continuation = Kind::Label;
  for (const auto line : Lines(bytes)) {
    CollectLabelledLine(line, map, continuation);
    CollectListLine(line, map);
  }
}

// REGEDIT4 text: "name"="value" lines and the keys of the domains a
// directory connector serves.
void CollectRegistry(std::string_view bytes, RedactionMap& map) {
  for (const auto line : Lines(bytes)) {
    if (!line.empty() && line.front() == '[') {
      const std::string lower = Lower(line);
      if (const auto at = lower.find("\\domains\\"); at != std::string::npos) {
        const auto name = line.substr(at + 9, line.find_first_of("\\]", at + 9) - at - 9);
        AddValue(Kind::Domain, name, map);
      }
      continue;
    }
    if (line.size() < 4 || line.front() != '"') continue;
    const std::size_t close = line.find("\"=\"");
    if (close == std::string_view::npos || line.back() != '"') continue;
    const Label* found = FindLabel(line.substr(1, close - 1), std::begin(kValueNames), std::end(kValueNames));
    if (found == nullptr) continue;
    std::string value;
    const auto raw = line.substr(close + 3, line.size() - close - 4);
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] == '\\' && i + 1 < raw.size()) ++i;
      value += raw[i];
    }
    AddValue(found->kind, value, map);
  }
}

std::string Unescape(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 1 < field.size()) {
      const char next = field[++i];
      out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    } else {
      out += field[i];
    }
  }
  return out;
}

// answers.txt: the rows of each recorded query, by column name.
void CollectAnswers(std::string_view bytes, RedactionMap& map) {
  std::vector<const Label*> columns;
  for (const auto line : Lines(bytes)) {
    const auto fields = Split(line, '\t');
    if (fields.empty()) continue;
    if (fields[0] == "columns") {
      columns.clear();
      for (std::size_t i = 1; i < fields.size(); ++i) {
        columns.push_back(FindLabel(fields[i], std::begin(kValueNames), std::end(kValueNames)));
      }
    } else if (fields[0] == "row") {
      for (std::size_t i = 1; i < fields.size() && i - 1 < columns.size(); ++i) {
        if (columns[i - 1] != nullptr && fields[i] != "\\N") AddValue(columns[i - 1]->kind, Unescape(fields[i]), map);
      }
    } else if (fields[0] != "row") {
      if (fields[0] == "query" || fields[0] == "server" || fields[0] == "execute") columns.clear();
    }
  }
}

// ServiceInfo.csv: the account column (the sixth) of each service.
void CollectServices(std::string_view bytes, RedactionMap& map) {
  bool header = true;
  for (const auto line : Lines(bytes)) {
    if (header) {
      header = false;
      continue;
    }
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const char c = line[i];
      if (c == '"') {
        if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
          fields.back() += '"';
          ++i;
        } else {
          quoted = !quoted;
        }
      } else if (c == ',' && !quoted) {
        fields.emplace_back();
      } else {
        fields.back() += c;
      }
    }
    if (fields.size() >= 6) AddValue(Kind::Account, fields[5], map);
  }
}

}  // namespace

void AddValue(Kind kind, std::string_view value, RedactionMap& map) {
  value = TrimView(value);
  const bool unc = value.size() > 2 && value[0] == '\\' && value[1] == '\\';
  while (value.size() > 2 && value[0] == '\\' && value[1] == '\\') value.remove_prefix(2);
  if (value.empty() || value.size() > 256 || IsKeptName(value)) return;
  for (char c : value) {
    if (static_cast<unsigned char>(c) < 0x20) return;
  }
  if (kind == Kind::Account) {
    if (const auto slash = value.find('\\'); slash != std::string_view::npos) {
      const auto domain = value.substr(0, slash);
      if (domain != "." && IsDnsName(domain)) AddValue(Kind::Domain, domain, map);
      AddValue(Kind::Account, value.substr(slash + 1), map);
      return;
    }
    if (const auto at = value.find('@'); at != std::string_view::npos) {
      AddValue(Kind::Domain, value.substr(at + 1), map);
      value = value.substr(0, at);
      if (value.empty() || IsKeptName(value)) return;
    }
    map.AddName(Kind::Account, value);
    return;
  }
  if (kind == Kind::Host && value.find('/') != std::string_view::npos) {
    // A Domino name: SERVER/Unit/Organisation.
    const auto parts = Split(value, '/');
    AddValue(Kind::Host, parts[0], map);
    for (std::size_t i = 1; i < parts.size(); ++i) AddValue(Kind::Name, parts[i], map);
    return;
  }
  if (kind == Kind::Host || kind == Kind::Domain) {
    if (const auto slash = value.find('\\'); kind == Kind::Host && slash != std::string_view::npos) {
      // SERVER\INSTANCE names a SQL Server instance (\\SERVER\share a share,
      // which stays): a name of the site as well.
      const auto instance = value.substr(slash + 1, value.find('\\', slash + 1) - slash - 1);
      if (!unc && instance.size() >= 3 && IsDnsName(instance)) AddValue(Kind::Name, instance, map);
      value = value.substr(0, slash);
    }
    if (!IsDnsName(value)) return;
    map.AddName(kind, value);
    return;
  }
  map.AddName(kind, value);
}

void CollectNames(std::string_view name, std::string_view bytes, RedactionMap& map) {
  const std::string lower = Lower(name);
  if (EndsWithNoCase(lower, ".reg")) {
    CollectRegistry(bytes, map);
  } else if (EndsWithNoCase(lower, "answers.txt")) {
    CollectAnswers(bytes, map);
  } else if (EndsWithNoCase(lower, "serviceinfo.csv")) {
    CollectServices(bytes, map);
  } else if (EndsWithNoCase(lower, "voxtrasysteminfo.txt") || EndsWithNoCase(lower, "image.ini") ||
             EndsWithNoCase(lower, "systeminfo.txt") || EndsWithNoCase(lower, "ipconfig.txt")) {
    CollectText(bytes, map);
  }
}

}  // namespace fernwick::redaction
