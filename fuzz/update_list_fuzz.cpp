// The download list of the tools web site, as the update check reads it.
// Beyond not crashing: the published version found in any list is empty or
// dotted fields of at least four digits (the padded form, so that two
// versions compare as texts); a version is only found behind the tool's
// entry key; and the update check never shows more than the one error box
// of a malformed version.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/message_boxes.h"
#include "common/session.h"
#include "common/text.h"
#include "shell/update_check.h"
#include "platform/no_window.h"

namespace {

class CountingUi : public fernwick::platform::NoWindow {
 public:
  int MessageBox(const std::string&, const std::string&, unsigned) override {
    ++shown;
    return fernwick::platform::kIdOk;
  }
  int shown = 0;
};

bool IsPadded(const std::string& version) {
  std::size_t digits = 0;
  for (char c : version) {
    if (c == '.') {
      if (digits < 4) return false;
      digits = 0;
    } else if (c >= '0' && c <= '9') {
      ++digits;
    } else {
      return false;
    }
  }
  return digits >= 4;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view list(reinterpret_cast<const char*>(data), size);
  CountingUi ui;
  fernwick::Session session;
  fernwick::MessageBoxes boxes(ui, session);
  const std::string version =
      fernwick::shell::PublishedVersionInList(list, fernwick::shell::kToolPageAddress, "", boxes);
  if (!version.empty() && !IsPadded(version)) std::abort();
  if (!version.empty() && !fernwick::ContainsNoCase(list, "^/Applications/Voxtra/TORB/TORB.html^ifram_a")) std::abort();
  if (ui.shown > 1) std::abort();
  return 0;
}
