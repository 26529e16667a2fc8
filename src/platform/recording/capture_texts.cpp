#include "platform/recording/capture_texts.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "common/text.h"
#include "platform/own_version.h"
#include "platform/recording/capture_lines.h"
#include "platform/registry.h"

namespace fernwick::recording {
namespace {

std::string Number(unsigned long long value) {
  return std::to_string(value);
}

std::string Hex(std::uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08x", value);
  return text;
}

std::string RegQuoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  return out + "\"";
}

bool PlainText(const std::string& bytes) {
  if (bytes.empty() || bytes.back() != '\0') return false;
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
    if (bytes[i] == '\0' || bytes[i] == '\r' || bytes[i] == '\n') return false;
  }
  return true;
}

std::string RegData(const CapturedValue& value) {
  if (value.type == platform::kRegSz && PlainText(value.bytes)) {
    return RegQuoted(value.bytes.substr(0, value.bytes.size() - 1));
  }
  if (value.type == platform::kRegDword && value.bytes.size() == 4) {
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i)
      number = number << 8 | static_cast<std::uint8_t>(value.bytes[static_cast<std::size_t>(i)]);
    return "dword:" + Hex(number);
  }
  std::string out = value.type == platform::kRegBinary ? "hex:" : "hex(" + HexPadded(value.type, 1) + "):";
  char byte[4];
  for (std::size_t i = 0; i < value.bytes.size(); ++i) {
    std::snprintf(byte, sizeof byte, i == 0 ? "%02x" : ",%02x", static_cast<std::uint8_t>(value.bytes[i]));
    out += byte;
  }
  return out;
}

void Line(std::string& out, std::vector<CaptureField> fields) {
  out += JoinCaptureLine(fields);
}

void RecordSetLines(std::string& out, const CapturedAnswer& answer) {
  if (!answer.records) {
    Line(out, {"error", std::to_string(answer.errorNumber), answer.errorText});
    return;
  }
  // Only the columns the gathering read a field of, and of those only the
  // fields it read (NULL in their place): a row that was only counted is a
  // row without values. An answer that noted no reads is kept whole.
  const platform::RecordSet& records = *answer.records;
  const auto& reads = records.Reads();
  const auto read = [&](std::size_t row, std::size_t column) {
    return !reads || (row < reads->rows.size() && column < reads->rows[row].size() && reads->rows[row][column]);
  };
  std::vector<std::size_t> kept;
  for (std::size_t column = 0; column < records.Columns().size(); ++column) {
    // A column asked for by its index keeps the columns before it.
    if (!reads || column < reads->byIndex || (column < reads->asked.size() && reads->asked[column])) {
      kept.push_back(column);
    }
  }
  std::vector<CaptureField> columns{"columns"};
  for (const std::size_t column : kept) columns.emplace_back(records.Columns()[column]);
  Line(out, columns);
  for (std::size_t row = 0; row < records.RowCount(); ++row) {
    const std::vector<platform::FieldValue> fields =
        kept.empty() ? std::vector<platform::FieldValue>() : records.RowAt(row);
    std::vector<CaptureField> line{"row"};
    for (const std::size_t column : kept) {
      line.push_back(read(row, column) && column < fields.size() ? fields[column] : std::nullopt);
    }
    Line(out, line);
  }
}

// A folder's listing in one line: its files, then its folders, in the order
// they were listed (an image lists in NTFS order by itself; a server need not).
// A listing like one written before it (the same names, in the same order,
// as each language folder of a prompt tree has) names that folder instead.
using WrittenListings = std::map<std::pair<std::size_t, std::string_view>, const std::string*>;

void ListingLine(std::string& out, const CapturedPath& path, WrittenListings& written) {
  static const CapturedListing kEmpty({}, {});
  const CapturedListing& names = path.names ? *path.names : kEmpty;
  const auto [earlier, first] = written.emplace(std::pair(names.Files(), names.Text()), &path.path);
  if (!first) {
    Line(out, {"samelisting", path.path, *earlier->second});
    return;
  }
  std::vector<CaptureField> line{"listing", path.path, std::to_string(names.Files())};
  for (std::size_t i = 0; i < names.Size(); ++i) line.emplace_back(std::string(names.Name(i)));
  Line(out, line);
}

bool DriveLetterName(const std::string& name) {
  return name.size() == 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]));
}

}  // namespace

std::string SwitchesOf(const std::string& commandLine) {
  std::size_t start = commandLine.find_first_not_of(' ');
  if (start == std::string::npos) return {};
  const std::size_t end = commandLine[start] == '"' ? commandLine.find('"', start + 1) : commandLine.find(' ', start);
  if (end == std::string::npos) return {};
  std::string rest = Trim(std::string_view(commandLine).substr(end + 1));
  // A line end would end the ini line: switches are one line.
  for (char& c : rest) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return rest;
}

std::string ImageTimeText(const platform::LocalTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  return text;
}

std::string DrivesPath(const std::string& windowsPath) {
  if (windowsPath.size() < 2 || windowsPath[1] != ':' || !std::isalpha(static_cast<unsigned char>(windowsPath[0])))
    return {};
  std::string out = "drives\\";
  out.push_back(AsciiUpper(windowsPath[0]));
  std::string rest = windowsPath.substr(2);
  while (!rest.empty() && rest.back() == '\\') rest.pop_back();
  if (!rest.empty() && rest.front() != '\\') return {};
  return out + rest;
}

std::string ImageIniText(const Capture& c) {
  std::string out =
      "; A captured server image: it holds only what one gathering read, and\n"
      "; any other question is an error (see docs/server-image.md).\n[capture]\n";
  out += std::string(kCaptureMarkKey) + "=Fernwick " + std::to_string(platform::kOwnVersion.major) + "." +
         std::to_string(platform::kOwnVersion.minor) + "." + std::to_string(platform::kOwnVersion.revision) + "\n";
  if (c.switches && !c.switches->empty()) out += std::string(kSwitchesKey) + "=" + *c.switches + "\n";
  if (c.now) out += "\n[clock]\nNow=" + ImageTimeText(*c.now) + "\n";
  out += "\n[program]\n";
  if (c.installFolder) out += "InstallFolder=" + *c.installFolder + "\n";
  if (!c.currentFolder.empty()) out += "CurrentFolder=" + c.currentFolder + "\n";
  if (!c.temporaryFolder.empty()) out += "TempFolder=" + c.temporaryFolder + "\n";
  const CapturedWorkstation& w = c.workstation;
  out += "\n[workstation]\n";
  if (w.osPlatformId) out += "OsPlatformId=" + Number(*w.osPlatformId) + "\n";
  if (w.info102Code && *w.info102Code != 0) out += "WorkstationInfoError=" + Number(*w.info102Code) + "\n";
  // Of the answers, only what the report shows: the computer name, the
  // domain and the version; the user call's texts never reach it.
  if (w.info102Code && *w.info102Code == 0) {
    const platform::WkstaInfo102& i = w.info102;
    out += "ComputerName=" + i.computerName + "\nDomain=" + i.langroup + "\nVerMajor=" + Number(i.verMajor) +
           "\nVerMinor=" + Number(i.verMinor) + "\n";
  }
  if (w.userInfoCode) out += "UserInfoError=" + Number(*w.userInfoCode) + "\n";
  if (c.ansiCodePage) out += "\n[system]\nAnsiCodePage=" + Number(*c.ansiCodePage) + "\n";
  out += "\n[drives]\n";
  for (const auto& [key, space] : c.drives) {
    if (space && DriveLetterName(key)) {
      out += key.substr(0, 1) + "=" + Number(static_cast<unsigned long long>(space->totalBytes)) + " " +
             Number(static_cast<unsigned long long>(space->availableBytes)) + "\n";
    }
  }
  out += "\n[file dates]\n";
  for (const auto& [key, path] : c.paths) {
    if (path.date && !DrivesPath(path.path).empty()) out += path.path + "=" + ImageTimeText(*path.date) + "\n";
  }
  return out;
}

std::string RegistryText(const Capture& c) {
  std::string out = "REGEDIT4\n";
  for (const auto& [upper, key] : c.keys) {
    if (key.openCode != platform::kErrorSuccess) continue;
    out += "\n[" + key.path + "]\n";
    for (const auto& [name, value] : key.values) {
      if (value.code != 0) continue;
      out += (value.name.empty() ? std::string("@") : RegQuoted(value.name)) + "=" + RegData(value) + "\n";
    }
  }
  return out;
}

std::map<std::string, std::string> SharedContents(const Capture& capture) {
  std::map<std::string, std::string> shared;
  std::map<std::string_view, const std::string*> firsts;  // contents -> the first file's path
  for (const auto& [upper, path] : capture.paths) {
    if (!path.contentAsked || !path.content || path.content->empty() || DrivesPath(path.path).empty()) continue;
    const auto [first, added] = firsts.emplace(*path.content, &path.path);
    if (!added) shared.emplace(upper, *first->second);
  }
  return shared;
}

std::string AnswersText(const Capture& c) {
  std::string out =
      "; Answers of the captured gathering that the other files of the image cannot\n"
      "; state (see docs/server-image.md, \"Captured images\").\n";
  for (const auto& [upper, key] : c.keys) {
    if (key.openCode && *key.openCode != 0) Line(out, {"key", key.path, std::to_string(*key.openCode)});
    for (const auto& [name, value] : key.values) {
      if (value.code != 0) Line(out, {"value", key.path, value.name, std::to_string(value.code)});
    }
    if (!key.subkeys.empty() || key.subkeysComplete) {
      std::vector<CaptureField> line{"subkeys", key.path, key.subkeysComplete ? "complete" : "partial"};
      for (const std::string& name : key.subkeys) line.emplace_back(name);
      Line(out, line);
    }
  }
  const std::map<std::string, std::string> shared = SharedContents(c);
  WrittenListings listings;  // the names of a listing written -> its folder
  for (const auto& [upper, path] : c.paths) {
    const bool inImage = !DrivesPath(path.path).empty();
    if (path.isFile == false) Line(out, {"nofile", path.path});
    if (path.isFolder == false) Line(out, {"nofolder", path.path});
    if (path.contentAsked && path.content && inImage) {
      const auto source = shared.find(upper);
      if (source == shared.end()) {
        Line(out, {"content", path.path});
      } else {
        Line(out, {"content", path.path, source->second});
      }
    }
    if (path.contentAsked && !path.content && path.isFile == true) Line(out, {"unreadable", path.path});
    if (path.listed && inImage) ListingLine(out, path, listings);
    if (path.subFoldersListed && !path.listed && inImage) {
      std::vector<CaptureField> line{"subfolders", path.path};
      if (const auto& names = path.names) {
        for (std::size_t i = names->Files(); i < names->Size(); ++i) line.emplace_back(std::string(names->Name(i)));
      }
      Line(out, line);
    }
    if (path.dateAsked && !path.date && path.isFile == true) Line(out, {"nodate", path.path});
  }
  for (const auto& [key, space] : c.drives) {
    const std::string& name = c.driveNames.at(key);
    if (!space) {
      Line(out, {"nodrive", name});
    } else if (!DriveLetterName(key)) {
      Line(out, {"drive", name, Number(static_cast<unsigned long long>(space->totalBytes)),
                 Number(static_cast<unsigned long long>(space->availableBytes))});
    }
  }
  for (const auto& [id, name] : c.languageNames) Line(out, {"language", Hex(id), name});
  for (const CapturedQuery& query : c.queries) {
    Line(out, {"query", query.connection, query.sql});
    RecordSetLines(out, query.answer);
  }
  for (const CapturedServer& server : c.servers) {
    Line(out, {"server", server.connection});
    if (server.openError) RecordSetLines(out, *server.openError);
    for (const CapturedQuery& query : server.executed) {
      Line(out, {"execute", query.sql});
      RecordSetLines(out, query.answer);
    }
  }
  for (const CapturedPage& page : c.pages) {
    if (page.openError != 0) Line(out, {"page", page.url, std::to_string(page.openError)});
    if (page.readError != 0) Line(out, {"pageread", page.url, std::to_string(page.readError)});
  }
  for (const auto& [command, error] : c.failedStarts) Line(out, {"start", command, std::to_string(error)});
  for (const auto& [command, answer] : c.waits) Line(out, {"wait", command, std::to_string(answer)});
  for (const std::string& command : c.unended) Line(out, {"unended", command});
  return out;
}

std::string VersionsText(const Capture& c) {
  std::string out =
      "; The version blocks of files, stated by their answers (see\n"
      "; docs/server-image.md, \"Version blocks\").\n";
  for (const auto& [upper, v] : c.versions) {
    if (v.size) Line(out, {v.path, "size", std::to_string(*v.size)});
    if (v.loaded) Line(out, {v.path, "block", *v.loaded ? "loaded" : "none"});
    if (v.fixedAsked) {
      std::string words;
      if (v.fixed) {
        const platform::FixedFileInfo& f = *v.fixed;
        for (const std::uint32_t w :
             {f.signature, f.strucVersion, f.fileVersionMS, f.fileVersionLS, f.productVersionMS, f.productVersionLS,
              f.fileFlagsMask, f.fileFlags, f.fileOS, f.fileType, f.fileSubtype, f.fileDateMS, f.fileDateLS}) {
          if (!words.empty()) words.push_back(' ');
          words += Hex(w);
        }
      }
      Line(out, {v.path, "fixed", v.fixed ? words : std::string("none")});
    }
    if (v.translationsAsked) {
      std::string words;
      for (const std::uint32_t w : v.translations) {
        if (!words.empty()) words.push_back(' ');
        words += Hex(w);
      }
      Line(out, {v.path, "translations", words});
    }
    for (const auto& [query, answer] : v.strings) Line(out, {v.path, "string", answer.first, answer.second});
  }
  return out;
}

}  // namespace fernwick::recording
