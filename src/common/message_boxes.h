#pragma once
// Message boxes of the probes and the report builder. A silent run never
// waits for a person: there the text is recorded instead, and the shell
// writes the recorded texts to "FernwickMessages.txt" in the work folder.
#include <string>
#include <vector>

#include "common/session.h"
#include "platform/user_interface.h"

namespace fernwick {

inline constexpr const char* kProgramTitle = "Fernwick";

class MessageBoxes {
 public:
  MessageBoxes(platform::UserInterface& ui, const Session& session) : ui_(ui), session_(session) {}

  // Shows `text` with an OK button and the program title; returns the
  // button pressed (OK when recorded).
  int Show(const std::string& text);

  const std::vector<std::string>& Recorded() const { return recorded_; }

 private:
  platform::UserInterface& ui_;
  const Session& session_;
  std::vector<std::string> recorded_;
};

}  // namespace fernwick
