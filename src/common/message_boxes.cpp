#include "common/message_boxes.h"

namespace fernwick {

int MessageBoxes::Show(const std::string& text) {
  if (session_.bSilentMode) {
    recorded_.push_back(text);
    return platform::kIdOk;
  }
  return ui_.MessageBox(text, kProgramTitle, platform::kMbOk);
}

}  // namespace fernwick
