#pragma once
// cabmaker's work, over whatever machine it runs on: read the directive
// file, find and measure every source, plan the folders, have the host
// write the cabinet under a temporary name and put it in place, then the
// by-products and the list of what was left out.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cabmaker/cabinet_plan.h"
#include "cabmaker/directive_file.h"

namespace fernwick::cabmaker {

class CabinetHost {
 public:
  virtual ~CabinetHost() = default;
  virtual std::optional<std::string> ReadWholeFile(const std::string& path) = 0;
  // The size of a file that can be opened for reading; nullopt with the
  // reason when it cannot.
  virtual std::optional<std::uint64_t> ReadableSize(const std::string& path, std::string& reason) = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  virtual bool CreateFolder(const std::string& path) = 0;
  virtual bool WriteWholeFile(const std::string& path, const std::string& bytes) = 0;
  virtual void RemoveFile(const std::string& path) = 0;
  // Writes the cabinet at `path` (MSZIP or stored, as planned), keeping any
  // temporary file of its own beside it under a name that starts with
  // `path`; empty when it worked, else why not (a partial file is removed
  // by the caller), with `failedSource` set to the planned source that
  // failed, when one did.
  virtual std::string WriteCabinet(const CabinetPlan& plan, const std::string& path, std::string& failedSource) = 0;
  virtual std::optional<std::uint64_t> FileSize(const std::string& path) = 0;
  // One line for standard error.
  virtual void Error(const std::string& line) = 0;

  // Renames the file `from` over `to`, replacing a file of that name; false
  // with the reason when it cannot, `to` then left as it was. The machines
  // rename; this default copies through ReadWholeFile and WriteWholeFile,
  // for a host whose files are no files of a machine.
  virtual bool ReplaceFile(const std::string& from, const std::string& to, std::string& reason);
  // Removes every file of the folder of `prefix` whose name starts with the
  // name part of `prefix` (what an earlier run that was ended left behind).
  // The default removes nothing: a host where no run can be ended half-way.
  virtual void RemoveFilesStartingWith(const std::string& prefix);
};

inline constexpr const char* kUsage = "Usage: cabmaker /f DIRECTIVES.ddf [/l LISTFILE]";

// The whole program: `arguments` without the program name (leading
// arguments that are no option are skipped: pieces of an unquoted path).
// Exit codes:
//   0 the cabinet is written with every file;
//   1 no cabinet is written (the reason is on standard error); a cabinet of
//     that name from before is left as it was;
//   2 bad arguments;
//   3 the cabinet is written, but optional files were left out (each named
//     on standard error).
// The cabinet is written as "<cabinet>.part" in its disk folder, with any
// other temporary file beside it under names that start so, and renamed
// over the cabinet only once it is whole; "<cabinet>.part*" files that an
// earlier run left behind are removed first, and none is left after a
// failure. With "/l LISTFILE" (exits 0, 1 and 3) LISTFILE is written anew
// in CR LF lines: "<file as the directive line names it><TAB><why>" for
// each optional file left out, and for exit 1 "<TAB><why>" for what kept
// the cabinet from being written; empty for a clean run.
int RunCabmaker(const std::vector<std::string>& arguments, CabinetHost& host);

}  // namespace fernwick::cabmaker
