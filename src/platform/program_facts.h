#pragma once
#include <string>

namespace fernwick::platform {

struct OwnVersion {
  int major = 0;
  int minor = 0;
  int revision = 0;
};

class ProgramFacts {
 public:
  virtual ~ProgramFacts() = default;
  // The whole command line of the process, as the system gives it.
  virtual std::string CommandLine() = 0;
  // The program's own folder, without trailing backslash.
  virtual std::string InstallFolder() = 0;
  virtual OwnVersion Version() = 0;
};

}  // namespace fernwick::platform
