#include "packaging/manifest.h"

#include <set>

#include "common/text.h"

namespace fernwick::packaging {
namespace {

// A field as the manifest holds it; line ends become blanks, so every
// record is one line.
std::string Field(std::string_view value) {
  std::string clean(value);
  for (char& c : clean) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  if (clean.find_first_of(",\"") == std::string::npos) return clean;
  std::string quoted = "\"";
  for (char c : clean) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

// The fields of one line; false for a quote that is not closed or stray
// text after a closing quote.
bool SplitRecord(std::string_view line, std::vector<std::string>& fields) {
  fields.clear();
  std::size_t at = 0;
  while (true) {
    std::string field;
    if (at < line.size() && line[at] == '"') {
      ++at;
      while (true) {
        if (at >= line.size()) return false;
        if (line[at] == '"') {
          if (at + 1 < line.size() && line[at + 1] == '"') {
            field += '"';
            at += 2;
            continue;
          }
          ++at;
          break;
        }
        field += line[at++];
      }
      if (at < line.size() && line[at] != ',') return false;
    } else {
      const std::size_t comma = line.find(',', at);
      const std::size_t end = comma == std::string_view::npos ? line.size() : comma;
      field = std::string(line.substr(at, end - at));
      if (field.find('"') != std::string::npos) return false;
      at = end;
    }
    fields.push_back(std::move(field));
    if (at >= line.size()) return true;
    ++at;  // the comma
    if (at == line.size()) {
      fields.emplace_back();
      return true;
    }
  }
}

bool IsHexDigest(std::string_view text) {
  if (text.size() != 64) return false;
  for (char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

std::optional<std::uint64_t> Size(std::string_view text) {
  if (text.empty() || text.size() > 19) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}

}  // namespace

std::string ManifestText(const std::vector<ManifestRecord>& records) {
  std::string text = std::string(kManifestFirstLine) + "\r\n" + std::string(kManifestHeader) + "\r\n";
  for (const ManifestRecord& r : records) {
    text += Field(r.name) + ',' + (r.size ? std::to_string(*r.size) : std::string()) + ',' + r.sha256 + ',' +
            Field(r.madeBy) + ',' + Field(r.ended) + ',' + Field(r.seconds) + ',' + Field(r.status) + "\r\n";
  }
  return text;
}

ParsedManifest ParseManifest(std::string_view text) {
  ParsedManifest parsed;
  const auto fail = [&](std::size_t line, const std::string& why) {
    parsed.records.clear();
    parsed.error = "line " + std::to_string(line) + ": " + why;
    return parsed;
  };
  std::size_t lineNumber = 0;
  std::size_t at = 0;
  std::vector<std::string> fields;
  std::set<std::string> names;  // upper-cased: Windows' names know no case
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (lineNumber == 1) {
      if (line.starts_with("Fernwick manifest ") && line != kManifestFirstLine) {
        return fail(
            1, "a manifest of a later format (\"" + std::string(line.substr(0, 40)) + "\") than this Fernwick reads");
      }
      if (line != kManifestFirstLine) return fail(1, "not a Fernwick manifest");
      continue;
    }
    if (lineNumber == 2) {
      if (line != kManifestHeader) return fail(2, "the header is not the manifest's");
      continue;
    }
    if (line.empty() && at >= text.size()) break;
    if (parsed.records.size() >= kMaxManifestRecords) return fail(lineNumber, "more records than a cabinet holds");
    if (!SplitRecord(line, fields)) return fail(lineNumber, "a quote out of place");
    if (fields.size() != 7) return fail(lineNumber, std::to_string(fields.size()) + " fields instead of 7");
    ManifestRecord r{fields[0], std::nullopt, fields[2], fields[3], fields[4], fields[5], fields[6]};
    if (r.name.empty()) return fail(lineNumber, "no name");
    if (r.status != kThisRunsStatus && !r.Lost()) return fail(lineNumber, "a status of no known kind");
    if (r.Lost()) {
      if (!fields[1].empty() || !r.sha256.empty()) return fail(lineNumber, "a lost part with a size or digest");
    } else {
      r.size = Size(fields[1]);
      if (!r.size) return fail(lineNumber, "no size");
      if (!IsHexDigest(r.sha256)) return fail(lineNumber, "no SHA-256 digest");
    }
    if (!names.insert(ToUpper(r.name)).second) return fail(lineNumber, "a name listed twice");
    parsed.records.push_back(std::move(r));
  }
  if (lineNumber < 2) return fail(lineNumber + 1, "the manifest ends before its header");
  return parsed;
}

}  // namespace fernwick::packaging
