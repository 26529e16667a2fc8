#pragma once
// The program-wide flags of one run, written by start-up only.
#include <cstdint>

namespace fernwick {

struct Session {
  bool bSilentMode = false;
  bool bSkipPromptCheck = false;
  std::int16_t iPromptListBudget = 0;
};

}  // namespace fernwick
