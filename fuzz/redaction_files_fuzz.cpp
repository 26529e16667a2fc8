// The redaction's keyword file and map file (RedactionKeywords.txt beside
// Fernwick.exe, RedactionMap.txt beside the package), and the redaction of
// the input itself as a package file or, in small pieces, as an event log
// (the collecting pass, then the redacting pass). The first byte picks
// which.
// Beyond "no crash": a keyword file read without error holds no keyword
// shorter than 3 characters; a map read and loaded without error is written
// back as text that reads to the same entries; redacting any text as a
// registry export ends. Redacting the result again is not checked: a
// name beside an address (an IPv6 address run into an e-mail address, say)
// can be split differently the second time, so a twice-redacted text may
// differ from the once-redacted one.
#include <string>

#include "fuzz/fuzz_check.h"
#include "redaction/file_redaction.h"
#include "redaction/keyword_file.h"
#include "redaction/map_file.h"

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
      Check(again.entries.size() == map.Entries().size(), "a written map reads to other entries");
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
      redaction::RedactFileBytes("fuzz.reg", text, redactor);
      break;
    }
  }
  return 0;
}
