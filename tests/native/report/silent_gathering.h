#pragma once
// GetSystemInfo over a test image, as a silent Go runs it.
#include "native/temp_image.h"
#include "report/gathering.h"

namespace fernwick::report {

inline ReportBuffer GatherSilently(testing::TempImage& image, bool skipPromptCheck = false) {
  auto& server = image.Open();
  Session session{.bSilentMode = true, .bSkipPromptCheck = skipPromptCheck};
  ReportBuffer buffer;
  MessageBoxes messages(server.Platform().ui, session);
  PromptCheckState promptCheck;
  promptCheck.iPromptListBudget = 30000;
  Gathering g{server.Platform(), session, buffer, messages, promptCheck};
  GetSystemInfo(g);
  return buffer;
}

}  // namespace fernwick::report
