#pragma once
// User interface services the core needs; the window itself is a front end.
#include <string>

namespace fernwick::platform {

inline constexpr unsigned kMbOk = 0x0;
inline constexpr int kIdOk = 1;

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  virtual int MessageBox(const std::string& text, const std::string& title, unsigned buttons) = 0;
  // Empties the clipboard and puts `text` on it as plain text.
  virtual bool SetClipboardText(const std::string& text) = 0;
};

}  // namespace fernwick::platform
