// The redaction's keyword file and map file (RedactionKeywords.txt beside
// Fernwick.exe, RedactionMap.txt beside the package), and the redaction of
// the input itself as a package file or, in small pieces, as an event log
// (the collecting pass, then the redacting pass). The first byte picks
// which.
// Beyond "no crash": a keyword file read without error holds no keyword
// shorter than 3 characters; a map read and loaded without error is written
// back as text that reads to the same entries; redacting any text as a
// registry export ends, and the check of the redacted text never passes
// text in which an original of the map still stands by its rule (a naive
// search for each original is the judge). Redacting the result again is not checked: a
// name beside an address (an IPv6 address run into an e-mail address, say)
// can be split differently the second time, so a twice-redacted text may
// differ from the once-redacted one.
#include <string>

#include "fuzz/fuzz_check.h"
#include "redaction/file_redaction.h"
#include "redaction/keyword_file.h"
#include "redaction/map_file.h"
#include "redaction/redaction_check.h"

namespace {

bool AsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// An ASCII original standing in ASCII text by the check's rule, found the
// slow way.
bool Stands(std::string_view text, std::string_view original) {
  const std::string lower = fernwick::redaction::Lower(text), needle = fernwick::redaction::Lower(original);
  for (std::size_t at = lower.find(needle); at != std::string::npos; at = lower.find(needle, at + 1)) {
    const bool before = at > 0 && AsciiAlnum(lower[at - 1]) && AsciiAlnum(needle.front());
    const std::size_t end = at + needle.size();
    const bool after = end < lower.size() && AsciiAlnum(lower[end]) && AsciiAlnum(needle.back());
    if (!before && !after) return true;
  }
  return false;
}

bool Ascii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80 || c == '\0' || c == '&') return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fernwick;
  using fuzz::Check;
  if (size == 0) return 0;
  const std::string_view text = fuzz::AsText(data + 1, size - 1);
  switch (data[0] % 4) {
    case 0: {
      const auto file = redaction::ParseKeywordFile(text);
      for (const auto& k : file.keywords) Check(k.size() >= 3, "a keyword shorter than 3 characters");
      Check(file.error.empty() || file.keywords.empty(), "keywords beside an error");
      break;
    }
    case 1: {
      const auto file = redaction::ParseMapFile(text);
      if (!file.error.empty()) break;
      redaction::RedactionMap map;
      std::string error;
      if (!map.Load(file.entries, error)) break;
      const auto again = redaction::ParseMapFile(redaction::MapFileText(map));
      Check(again.error.empty(), "a written map does not read");
      std::size_t written = 0;
      for (const auto& e : map.Entries()) written += !e.IsAlias();
      Check(again.entries.size() == written, "a written map reads to other entries");
      break;
    }
    case 3: {
      redaction::RedactionMap map;
      redaction::TextRedactor redactor(map);
      using Stream = redaction::LineStreamRedactor;
      for (const auto pass : {Stream::Pass::kCollect, Stream::Pass::kRedact}) {
        Stream stream(redactor, pass, 64);
        std::string out;
        for (std::size_t at = 0; at < text.size(); at += 37) out += stream.Feed(text.substr(at, 37));
        out += stream.Finish();
        Check(pass == Stream::Pass::kRedact || out.empty(), "the collecting pass gave text back");
      }
      break;
    }
    default: {
      redaction::RedactionMap map;
      redaction::TextRedactor redactor(map);
      // As a package is redacted: the patterns' names found first.
      redaction::DiscoverFile("fuzz.reg", text, redactor);
      const std::string redacted = redaction::RedactFileBytes("fuzz.reg", text, redactor);
      redaction::RedactionCheck check(map, {});
      if (check.Find({}, redacted) || !Ascii(redacted)) break;
      for (const auto& e : map.Entries()) {
        if (e.IsAlias()) continue;
        const bool checked = e.kind != redaction::Kind::Label && e.kind != redaction::Kind::Subnet4 &&
                             e.kind != redaction::Kind::Prefix6 && e.kind != redaction::Kind::Mac;
        Check(!checked || !Stands(redacted, e.original), "the check passed text that holds an original");
      }
      break;
    }
  }
  return 0;
}
