#include "comparison/image_facts.h"

#include <charconv>

#include "common/text.h"
#include "comparison/report_lines.h"

namespace fernwick::comparison {
namespace {

using enum ImageFactKind;

constexpr std::array<std::string_view, kImageFactKinds> kNames = {
    "registry value", "file", "file date", "file version", "database answer", "program output"};

// The lines of `text` one at a time, CR LF or LF ending each.
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& visit) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    visit(line);
    start = end + 1;
  }
}

std::vector<std::string_view> Fields(std::string_view line) {
  return Split(line, '\t');
}

// The name of a value line ("name"=... or @=...) and where its data starts.
bool ValueName(std::string_view line, std::string& name, std::size_t& data) {
  if (line.starts_with("@=")) {
    name = "(Default)";
    data = 2;
    return true;
  }
  if (!line.starts_with('"')) return false;
  name.clear();
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (line[i] == '\\' && i + 1 < line.size()) {
      name += line[++i];
    } else if (line[i] == '"') {
      if (i + 1 >= line.size() || line[i + 1] != '=') return false;
      data = i + 2;
      return true;
    } else {
      name += line[i];
    }
  }
  return false;
}

}  // namespace

std::string_view ImageFactName(ImageFactKind kind) {
  return kNames[static_cast<std::size_t>(kind)];
}

void ImageFacts::Add(ImageFactKind kind, std::string name, std::string value) {
  auto& facts = facts_[static_cast<std::size_t>(kind)];
  std::string key = ToUpper(name);
  if (facts.size() >= kMaxFactsPerKind && !facts.contains(key)) {
    cut_ = true;
    return;
  }
  facts[std::move(key)] = {std::move(name), std::move(value)};
}

void ReadRegistryExport(std::string_view text, ImageFacts& facts) {
  std::string key, name, data;
  bool continued = false;
  ForEachLine(text, [&](std::string_view line) {
    if (continued) {
      data += Trim(line);
    } else if (line.starts_with('[')) {
      const std::size_t close = line.rfind(']');
      key = close == std::string_view::npos ? std::string() : std::string(line.substr(1, close - 1));
      return;
    } else if (std::size_t at = 0; !key.empty() && ValueName(line, name, at)) {
      data = line.substr(at);
    } else {
      return;
    }
    continued = data.ends_with('\\');
    if (continued) {
      data.pop_back();
      return;
    }
    facts.Add(RegistryValue, key + "\\" + name, data);
  });
  if (continued) facts.Add(RegistryValue, key + "\\" + name, data);
}

std::string Unescaped(std::string_view field) {
  if (field == "\\N") return "NULL";
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\' || i + 1 == field.size()) {
      out += field[i];
      continue;
    }
    const char c = field[++i];
    out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
  }
  return out;
}

void ReadRecordedAnswers(std::string_view text, ImageFacts& facts) {
  std::map<std::string, std::vector<std::string>> listed;  // folder -> its files, for samelisting
  std::string answerName, answer;
  std::map<std::string, int> asked;
  auto flush = [&] {
    if (answerName.empty()) return;
    const int times = ++asked[answerName];
    facts.Add(DatabaseAnswer, times == 1 ? answerName : answerName + " (" + std::to_string(times) + ")", answer);
    answerName.clear();
    answer.clear();
  };
  auto addFiles = [&](const std::string& folder, const std::vector<std::string>& files) {
    for (const auto& file : files) {
      if (facts.Cut()) return;
      facts.Add(File, folder + "\\" + file, "");
    }
  };
  ForEachLine(text, [&](std::string_view line) {
    if (line.empty() || line.starts_with(';')) return;
    const auto fields = Fields(line);
    const std::string_view kind = fields[0];
    if (!answerName.empty() && (kind == "columns" || kind == "row" || kind == "error")) {
      if (!answer.empty()) answer += '\n';
      answer += std::string(kind);
      for (std::size_t i = 1; i < fields.size(); ++i) answer += " | " + Unescaped(fields[i]);
      return;
    }
    flush();
    if ((kind == "query" && fields.size() >= 3) || (kind == "execute" && fields.size() >= 2)) {
      answerName = Unescaped(fields.back());
    } else if (kind == "server" && fields.size() >= 2) {
      answerName = "server connection " + Unescaped(fields[1]);
    } else if (kind == "listing" && fields.size() >= 3) {
      std::size_t count = 0;
      std::from_chars(fields[2].data(), fields[2].data() + fields[2].size(), count);
      std::vector<std::string> files;
      for (std::size_t i = 3; i < fields.size() && i - 3 < count; ++i) files.push_back(Unescaped(fields[i]));
      const std::string folder = Unescaped(fields[1]);
      addFiles(folder, files);
      if (listed.size() < ImageFacts::kMaxFactsPerKind) listed[ToUpper(folder)] = std::move(files);
    } else if (kind == "samelisting" && fields.size() >= 3) {
      const auto source = listed.find(ToUpper(Unescaped(fields[2])));
      if (source != listed.end()) addFiles(Unescaped(fields[1]), source->second);
    }
  });
  flush();
}

void ReadVersionStatements(std::string_view text, ImageFacts& facts) {
  std::map<std::string, std::pair<std::string, std::string>> versions;  // path -> string, fixed
  ForEachLine(text, [&](std::string_view line) {
    if (line.empty() || line.starts_with(';')) return;
    const auto fields = Fields(line);
    if (fields.size() < 3 || versions.size() >= ImageFacts::kMaxFactsPerKind) return;
    auto& [version, fixed] = versions[Unescaped(fields[0])];
    if (fields[1] == "string" && fields.size() >= 4 && Unescaped(fields[2]).ends_with("\\FileVersion")) {
      version = Unescaped(fields[3]);
    } else if (fields[1] == "fixed") {
      fixed = "fixed " + Unescaped(fields[2]);
    }
  });
  for (auto& [path, version] : versions) {
    facts.Add(FileVersion, path, !version.first.empty() ? version.first : version.second);
  }
}

void ReadFileDates(std::string_view imageIni, ImageFacts& facts) {
  bool inDates = false;
  ForEachLine(imageIni, [&](std::string_view line) {
    const std::string trimmed = Trim(line);
    if (trimmed.starts_with('[')) {
      inDates = EqualsNoCase(trimmed, "[file dates]");
      return;
    }
    const std::size_t equals = trimmed.rfind('=');
    if (!inDates || trimmed.starts_with(';') || equals == std::string::npos) return;
    facts.Add(FileDate, Trim(std::string_view(trimmed).substr(0, equals)),
              Trim(std::string_view(trimmed).substr(equals + 1)));
  });
}

std::vector<ImageFactChange> CompareImageFacts(const ImageFacts& oldFacts, const ImageFacts& newFacts) {
  std::vector<ImageFactChange> out;
  for (std::size_t k = 0; k < kImageFactKinds; ++k) {
    const auto kind = static_cast<ImageFactKind>(k);
    const auto& before = oldFacts.Of(kind);
    const auto& after = newFacts.Of(kind);
    auto o = before.begin();
    auto n = after.begin();
    while (o != before.end() || n != after.end()) {
      ImageFactChange change{kind, {}, false, false, {}, {}};
      const bool takeOld = n == after.end() || (o != before.end() && o->first <= n->first);
      const bool takeNew = o == before.end() || (n != after.end() && n->first <= o->first);
      if (takeOld) {
        change.name = o->second.name;
        change.inOld = true;
        change.oldValue = o->second.value;
        ++o;
      }
      if (takeNew) {
        change.name = n->second.name;
        change.inNew = true;
        change.newValue = n->second.value;
        ++n;
      }
      if (change.inOld && change.inNew && change.oldValue == change.newValue) continue;
      out.push_back(std::move(change));
    }
  }
  return out;
}

}  // namespace fernwick::comparison
