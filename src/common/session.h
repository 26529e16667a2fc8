#pragma once
// The program-wide flags of one run, written by start-up only. (The prompt
// check's budget, which the gathering counts down, lives in
// report::PromptCheckState.)
#include <cstdint>

namespace fernwick {

struct Session {
  bool bSilentMode = false;
  bool bSkipPromptCheck = false;
};

}  // namespace fernwick
