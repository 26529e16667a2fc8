#pragma once
// cabmaker's work, over whatever machine it runs on: read the directive
// file, find and measure every source, plan the folders, have the host
// write the cabinet, then the by-products.
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
  // Writes the cabinet at `path` (MSZIP or stored, as planned); empty when
  // it worked, else why not (a partial file is removed by the caller), with
  // `failedSource` set to the planned source that failed, when one did.
  virtual std::string WriteCabinet(const CabinetPlan& plan, const std::string& path, std::string& failedSource) = 0;
  virtual std::optional<std::uint64_t> FileSize(const std::string& path) = 0;
  // One line for standard error.
  virtual void Error(const std::string& line) = 0;
};

inline constexpr const char* kUsage = "Usage: cabmaker /f DIRECTIVES.ddf";

// The whole program: `arguments` without the program name (leading
// arguments that are no option are skipped: pieces of an unquoted path). Exit codes:
// 0 the cabinet is written; 1 it is not (the reason is on standard error);
// 2 bad arguments. An optional file that cannot be read or has no room is
// left out with a line on standard error, never the cabinet.
int RunCabmaker(const std::vector<std::string>& arguments, CabinetHost& host);

}  // namespace fernwick::cabmaker
