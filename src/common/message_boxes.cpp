#include "common/message_boxes.h"

namespace fernwick {

int MessageBoxes::Show(const std::string& text) {
  if (session_.bSilentMode) {
    Record(text);
    return platform::kIdOk;
  }
  return ui_.MessageBox(text, kProgramTitle, platform::kMbOk);
}

void MessageBoxes::RecordLostPart(const std::string& line) {
  partLost_ = true;
  Record(line);
}

void MessageBoxes::KeepIn(platform::FileSystem& files, std::string path) {
  files_ = &files;
  path_ = std::move(path);
}

// Written in full each time, so that the file is whole whenever the run is
// cut short, and is there before the cabinet is made.
void MessageBoxes::Record(const std::string& line) {
  recorded_.push_back(line);
  if (files_ == nullptr) return;
  std::string text;
  for (const auto& recorded : recorded_) text += recorded + "\r\n";
  files_->WriteWholeFile(path_, text);
}

}  // namespace fernwick
