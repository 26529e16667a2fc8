#pragma once
// The directive files cabmaker reads ("cabmaker /f voxtrainfo.ddf"):
//
//   ; a comment                      (also after a blank, outside quotes)
//   .Option Explicit                 every .Set must name a known variable
//   .Set CabinetNameTemplate=VoxtraInfo.cab
//   .Set DiskDirectoryTemplate=.     "." or empty: the current folder
//   .Set Cabinet=on                  off is refused (no loose copies)
//   .Set Compress=on                 off stores the files uncompressed
//   .Set CompressionType=MSZIP       the only method written
//   .Set MaxDiskSize=0               0: no limit; a number or CDROM, 1.44M, ...
//   .Set RptFileName=setup.rpt       by-products; empty: not written
//   .Set InfFileName=setup.inf
//   .Set SourceDir=..                put in front of relative source names
//   .New Folder                      the next files start a new folder
//   "VoxtraSystemInfo.txt"           a file, stored under its own name
//   "c:\x\a.csv" "b.csv" /inf=no     ... or under another; other /options ignored
//   "SwitchReport.html" /optional=yes  may be missing: then left out, with a
//                                    message, instead of stopping the run
//
// Values may be quoted ("" inside quotes is one quote); %Name% in a value
// or a file line is the value of that variable, %% a percent sign. Names of
// variables and directives are matched without regard to case. A star in a
// template stands for the cabinet (disk) number, 1.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace fernwick::cabmaker {

struct FileSpec {
  std::string source;       // as written, SourceDir in front of a relative name
  std::string named;        // as written on the line (after %Name% substitution)
  std::string destination;  // the name inside the cabinet
  int line = 0;
  bool optional = false;
};

struct Directives {
  std::string cabinetNameTemplate = "*.cab";
  std::string diskDirectoryTemplate = "disk*";
  bool compress = true;
  std::uint64_t maxDiskSize = 0;
  std::string rptFileName = "setup.rpt";
  std::string infFileName = "setup.inf";
  // Each inner list is one folder of the cabinet; never empty lists.
  std::vector<std::vector<FileSpec>> folders;

  // The templates with their star replaced by the disk number 1.
  std::string CabinetName() const;
  std::string DiskDirectory() const;  // empty for the current folder
};

struct DirectiveError {
  int line = 0;  // 0: the file as a whole
  std::string message;
};

std::variant<Directives, DirectiveError> ParseDirectives(std::string_view text);

}  // namespace fernwick::cabmaker
