#pragma once
// A captured server image holds only what one gathering read. A replay that
// asks anything else stops with this, naming the question ("registry value
// HKLM\SOFTWARE\X\Y"): an image never invents an answer. It deliberately
// derives from no standard exception, so that no run-time error guard of the
// program turns it into a report line; the native command catches it and
// prints "not captured: QUESTION". While re-checking (common/not_in_capture.h)
// the question raises NotInCapture instead, which the program's guards take.
#include <string>

#include "common/not_in_capture.h"

namespace fernwick::image {

class NotCaptured {
 public:
  explicit NotCaptured(std::string question) : question_(std::move(question)) {
    if (Rechecking()) throw NotInCapture(question_);
  }
  const std::string& Question() const { return question_; }

 private:
  std::string question_;
};

// "HKEY_LOCAL_MACHINE\X" -> "HKLM\X", "HKEY_CLASSES_ROOT\X" -> "HKCR\X".
inline std::string ShortKeyName(const std::string& path) {
  for (const auto& [hive, shortName] : {std::pair<std::string, std::string>{"HKEY_LOCAL_MACHINE", "HKLM"},
                                        std::pair<std::string, std::string>{"HKEY_CLASSES_ROOT", "HKCR"}}) {
    if (path.compare(0, hive.size(), hive) == 0) return shortName + path.substr(hive.size());
  }
  return path;
}

}  // namespace fernwick::image
