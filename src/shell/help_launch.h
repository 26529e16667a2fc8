#pragma once
// The Help menu item: opens "Fernwick.htm" from the program's folder in
// whatever program the system associates with it.
#include "common/message_boxes.h"
#include "platform/program_facts.h"
#include "platform/user_interface.h"

namespace fernwick::shell {

inline constexpr const char* kHelpFileName = "Fernwick.htm";

// Tells the user why the page did not open and how to open it by hand.
void LaunchHelpFile(platform::UserInterface& ui, platform::ProgramFacts& program, MessageBoxes& boxes);

}  // namespace fernwick::shell
