#pragma once
// Manifest.csv, the last entry of every VoxtraInfo.cab: one line per other
// entry, and one per part of the package that was lost, so that the cabinet
// proves what it holds and who made it (docs/manifest.md).
//
// The format, UTF-8, lines ending in CR LF:
//   Fernwick manifest 1
//   name,size,sha256,made by,ended,seconds,status
//   <one record per entry or lost part>
// Fields are separated by commas; a field holding a comma or a quote is
// quoted with its quotes doubled (RFC 4180); no field holds a line end.
// "size" is the entry's size in bytes and "sha256" its SHA-256 in lower-case
// hex, both empty for a lost part. "made by" is the program that wrote the
// file with its arguments (the output folder written "<output>", the install
// folder "<install>", so that no path of the server travels in it), or
// "Fernwick" for the files Fernwick writes itself. "ended" says how that
// program ended ("exit code N", "ended at its limit", "left running", "could
// not start", "ended, exit code unknown"), empty for Fernwick's own files;
// "seconds" how long it ran, in whole seconds, empty when it never started.
// "status" is "this run's", or "lost: " and the reason.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick::packaging {

inline constexpr const char* kManifestName = "Manifest.csv";
inline constexpr std::string_view kManifestFirstLine = "Fernwick manifest 1";
inline constexpr std::string_view kManifestHeader = "name,size,sha256,made by,ended,seconds,status";
inline constexpr std::string_view kThisRunsStatus = "this run's";
inline constexpr std::string_view kLostStatusPrefix = "lost: ";
// Far above any package (a few dozen parts), far below harm.
inline constexpr std::size_t kMaxManifestRecords = 65535;

struct ManifestRecord {
  std::string name;
  std::optional<std::uint64_t> size;  // none for a lost part
  std::string sha256;                 // empty for a lost part
  std::string madeBy;
  std::string ended;
  std::string seconds;
  std::string status;

  bool Lost() const { return status.starts_with(kLostStatusPrefix); }
};

std::string ManifestText(const std::vector<ManifestRecord>& records);

struct ParsedManifest {
  std::vector<ManifestRecord> records;
  std::string error;  // empty when the text is a manifest; else why not
};

// Reads a manifest strictly: the first line and the header as written, then
// well-formed records (a name, a size and a 64-digit digest or neither,
// a status of the two kinds), no name twice, at most kMaxManifestRecords.
ParsedManifest ParseManifest(std::string_view text);

}  // namespace fernwick::packaging
