#pragma once
// What one gathering works with: the platform, the run's flags, the report
// buffer, the message boxes and the prompt check's program-wide state (the
// one thing a gathering changes besides the report).
#include "common/message_boxes.h"
#include "common/session.h"
#include "platform/platform.h"
#include "report/prompt_set_verification.h"
#include "report/report_buffer.h"

namespace fernwick::report {

struct Gathering {
  platform::Platform& platform;
  const Session& session;
  ReportBuffer& buffer;
  MessageBoxes& messages;
  PromptCheckState& promptCheck;
};

enum class GatheringOutcome { Finished, EndProgram };

// Writes the whole report into the buffer. EndProgram when the installed
// product is too old to be examined; the program then ends at once.
GatheringOutcome GetSystemInfo(Gathering& gathering);

}  // namespace fernwick::report
