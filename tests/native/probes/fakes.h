#pragma once
// Small stand-ins for the platform services the probe tests need besides the
// registry double: a file system that knows only folders, and a user
// interface that remembers the message boxes it was asked to show.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/message_boxes.h"
#include "common/session.h"
#include "common/text.h"
#include "platform/file_system.h"
#include "platform/image/registry_double.h"
#include "platform/user_interface.h"

namespace fernwick::fakes {

class FakeFileSystem : public platform::FileSystem {
 public:
  // Adds a folder with its subfolders in the order they are to be listed.
  void AddFolder(const std::string& path, std::vector<std::string> subfolders = {}) {
    folders_[ToUpper(path)] = std::move(subfolders);
  }

  bool FolderExists(const std::string& path) override { return folders_.count(ToUpper(path)) > 0; }
  bool FileExists(const std::string&) override { return false; }
  bool CreateFolder(const std::string&) override { return false; }
  std::vector<std::string> SubFolderNames(const std::string& path) override {
    const auto it = folders_.find(ToUpper(path));
    return it == folders_.end() ? std::vector<std::string>{} : it->second;
  }
  std::optional<std::string> FullPathName(const std::string& path) override { return path; }
  std::optional<std::string> ReadWholeFile(const std::string&) override { return std::nullopt; }
  bool WriteWholeFile(const std::string&, std::string_view) override { return false; }
  std::optional<platform::FolderListing> ListFolder(const std::string&) override { return std::nullopt; }
  std::optional<platform::LocalTime> FileLastModified(const std::string&) override { return std::nullopt; }
  std::optional<platform::DriveSpace> DriveSpaceOf(const std::string&) override { return std::nullopt; }
  bool RemoveFile(const std::string&) override { return false; }

 private:
  std::map<std::string, std::vector<std::string>> folders_;
};

struct ShownMessageBox {
  std::string text;
  std::string title;
  unsigned buttons = 0;
};

class FakeUserInterface : public platform::UserInterface {
 public:
  int MessageBox(const std::string& text, const std::string& title, unsigned buttons) override {
    shown.push_back({text, title, buttons});
    return platform::kIdOk;
  }
  bool SetClipboardText(const std::string& text) override {
    clipboard = text;
    return true;
  }
  std::string BrowseForFolder() override { return {}; }
  std::intptr_t RunShellExecute(const std::string&, const std::string&, const std::string&, const std::string&,
                                int) override {
    return 0;
  }
  void SetWaitPointer(bool) override {}

  std::vector<ShownMessageBox> shown;
  std::string clipboard;
};

// What every probe test needs: a registry, a file system and message boxes
// that a person would see (not a silent run unless the test says so).
struct ProbeWorld {
  image::RegistryDouble registry;
  FakeFileSystem files;
  FakeUserInterface ui;
  Session session;
  MessageBoxes boxes{ui, session};

  // Texts of the message boxes shown so far.
  std::vector<std::string> ShownTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : ui.shown) texts.push_back(box.text);
    return texts;
  }
};

inline constexpr const char* kHklm = "HKEY_LOCAL_MACHINE\\";

}  // namespace fernwick::fakes
