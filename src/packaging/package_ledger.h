#pragma once
// What Write To File knows of each part of the package while it runs: which
// program made a file, how that program ended and how long it ran, or why
// the part is lost. From it, once every file to pack is final, come the
// manifest packed into the cabinet (packaging/manifest.h) and the digest
// file beside it.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "launch/wait_limits.h"
#include "packaging/manifest.h"
#include "platform/clock.h"
#include "platform/file_system.h"

namespace fernwick::packaging {

// The digest file beside the cabinet, in the line format sha256sum reads.
inline constexpr const char* kCabinetDigestName = "VoxtraInfo.cab.sha256";

// How a started program ended, as the manifest says it; "could not start"
// for none.
std::string EndedText(const std::optional<launch::ProgramEnd>& end);

// Whole seconds from `from` to `to` (0 when the clock went back).
long long SecondsBetween(const platform::LocalTime& from, const platform::LocalTime& to);

// `commandLine` with the output folder written "<output>\" and the install
// folder "<install>\" (any case), so that no path of the server travels in
// the manifest.
std::string CommandLineWithoutFolders(const std::string& commandLine, const std::string& outputFolder,
                                      const std::string& installFolder);

class PackageLedger {
 public:
  // `file` was to be written by this run of `program`, started as `madeBy`.
  void Produced(const std::string& file, const std::string& program, const std::string& madeBy,
                const std::string& ended, long long seconds);
  // `file`'s part is lost; the first reason given stays.
  void Lost(const std::string& file, const std::string& reason);
  bool IsLost(const std::string& file) const;
  // The files a program was to write that are not there and not lost yet,
  // each with the program.
  std::vector<std::pair<std::string, std::string>> NotWritten(platform::FileSystem& files,
                                                              const std::string& folder) const;

  // The manifest's records for the files `packed` names (the directive
  // file's entries, in order, the manifest's own left out), then the lost
  // parts no entry names. A file there is digested (read in pieces); a
  // lost file is never; a file that is absent is listed as lost only when
  // a program was to write it, else it was not to be there (a record with
  // nothing to say, a capture not asked for).
  std::vector<ManifestRecord> Records(platform::FileSystem& files, const std::string& folder,
                                      const std::vector<std::string>& packed) const;

 private:
  struct Part {
    std::string program;
    std::string madeBy = "Fernwick";
    std::string ended;
    std::string seconds;
    std::string lostReason;
  };
  std::map<std::string, Part> parts_;  // by upper-cased name
  std::vector<std::string> order_;     // the names as first given
};

// The SHA-256 of the file at `path`, read in pieces, with its size; none
// when it cannot be read.
struct FileDigest {
  std::uint64_t size = 0;
  std::string sha256;
};
std::optional<FileDigest> DigestOfFile(platform::FileSystem& files, const std::string& path);

}  // namespace fernwick::packaging
