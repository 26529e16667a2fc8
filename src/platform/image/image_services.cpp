#include "platform/image/image_services.h"

#include <cstdio>
#include <ctime>

#include "platform/own_version.h"

namespace fernwick::image {

ImageClock::ImageClock(const std::string& fixedTime) {
  platform::LocalTime t;
  if (std::sscanf(fixedTime.c_str(), "%d-%d-%d %d:%d:%d", &t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second) ==
      6) {
    fixed_ = true;
    time_ = t;
  }
}

platform::LocalTime ImageClock::Now() {
  if (fixed_) return time_;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

platform::OwnVersion ImageProgramFacts::Version() {
  return platform::kOwnVersion;
}

int ImageUserInterface::MessageBox(const std::string& text, const std::string& title, unsigned /*buttons*/) {
  shown.push_back(text);
  std::fprintf(stderr, "[%s] %s\n", title.c_str(), text.c_str());
  return platform::kIdOk;
}

bool ImageUserInterface::SetClipboardText(const std::string& text) {
  clipboard = text;
  return true;
}

bool ImageProcessControl::SetProcessPriority(std::uint32_t cls) {
  priorityClass = cls;
  return true;
}

}  // namespace fernwick::image
