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

void MessageBoxes::StartPackagingRecord(platform::FileSystem& files, std::string path) {
  if (!packagingStarted_) {
    packagingStarted_ = true;
    gatheringLines_ = recorded_.size();
    gatheringLost_ = partLost_;
  }
  recorded_.resize(gatheringLines_);
  partLost_ = gatheringLost_;
  redact_ = nullptr;
  KeepIn(files, std::move(path));
  if (recorded_.empty()) {
    files.RemoveFile(path_, true);
  } else {
    WriteRecord();
  }
}

void MessageBoxes::RedactWith(std::function<std::string(const std::string&)> redact) {
  redact_ = std::move(redact);
  if (!recorded_.empty()) WriteRecord();
}

void MessageBoxes::Record(const std::string& line) {
  recorded_.push_back(line);
  WriteRecord();
}

// Written in full each time, so that the file is whole whenever the run is
// cut short, and is there before the cabinet is made.
void MessageBoxes::WriteRecord() {
  if (files_ == nullptr) return;
  std::string text;
  for (const auto& recorded : recorded_) text += (redact_ ? redact_(recorded) : recorded) + "\r\n";
  files_->WriteWholeFile(path_, text);
}

}  // namespace fernwick
