#pragma once
// User interface services the core needs; the window itself is a front end.
#include <cstdint>
#include <string>

namespace fernwick::platform {

inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbOkCancel = 0x1;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  virtual int MessageBox(const std::string& text, const std::string& title, unsigned buttons) = 0;
  // Empties the clipboard and puts `text` on it as plain text.
  virtual bool SetClipboardText(const std::string& text) = 0;
  // The folder picker owned by the main window (SHBrowseForFolder, flags
  // 0x43, no title), its choice as a path cut at the first NUL; empty when
  // the user cancels.
  virtual std::string BrowseForFolder() = 0;
  // ShellExecute owned by the main window; an empty verb, parameters or
  // directory is passed as none. Its result (above 32 when it worked).
  virtual std::intptr_t RunShellExecute(const std::string& verb, const std::string& file, const std::string& parameters,
                                        const std::string& directory, int showCommand) = 0;
  // The main window's mouse pointer: the hourglass while `busy`, else the default.
  virtual void SetWaitPointer(bool busy) = 0;
  // Lets the window handle the messages waiting for it, so that it stays
  // responsive during a long walk (the classic DoEvents). Nothing to do
  // where there is no window.
  virtual void PumpMessages() {}
};

}  // namespace fernwick::platform
