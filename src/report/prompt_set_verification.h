#pragma once
// The prompt check: walks the prompt folders, reads every prompt index
// file and lists the prompts whose WAV files are missing, within a
// character budget so that a damaged prompt tree cannot flood the report.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/user_interface.h"
#include "report/marked_text.h"

namespace fernwick::report {

// What one index file asks for that is not there. Each index file is read
// and its WAV files looked for once per program run; every later check of
// the same file uses these findings (the files do not change while the
// gathering looks at them).
struct IndexFileFindings {
  bool hasPrompts = false;
  std::vector<std::string> missingWavPaths;  // in the file's order
};

// The prompt check's program-wide state: it outlives one check and is
// never reset, so each check re-checks what earlier ones collected.
struct PromptCheckState {
  // Every index file found so far, in the order found (the list the
  // classic check keeps as one CRLF-separated text).
  std::vector<std::string> strPromptIniList;
  // Characters of missing-prompt lines still allowed; charged by every
  // check of an index file, so a file re-checked at each level is charged
  // at each level.
  std::int16_t iPromptListBudget = 0;
  std::map<std::string, IndexFileFindings> findings;  // by index file path
};

class PromptSetCheck {
 public:
  PromptSetCheck(platform::FileSystem& files, platform::UserInterface& ui, PromptCheckState& state)
      : files_(files), ui_(ui), state_(state) {}

  // The block of missing prompts below `folder` (one line of 9 blanks and
  // the WAV path each, CRLF after each), empty when nothing is missing; the
  // line that says the list is cut is marked with its finding.
  // Index files are the files named `name` (any case). A folder or file that
  // cannot be read, or a header without its "]", abandons the whole check
  // with a run-time error.
  MarkedText VerifyPromptSet(const std::string& folder, const std::string& name);

 private:
  const IndexFileFindings& Findings(const std::string& indexPath);
  MarkedText CheckCollectedIndexFiles();

  platform::FileSystem& files_;
  platform::UserInterface& ui_;
  PromptCheckState& state_;
};

}  // namespace fernwick::report
