#include "shell/help_launch.h"

#include <gtest/gtest.h>

#include "native/probes/fakes.h"

namespace fernwick::shell {
namespace {

class ShellAnswering : public fakes::FakeUserInterface {
 public:
  std::intptr_t RunShellExecute(const std::string& verb, const std::string& file, const std::string& parameters,
                                const std::string& directory, int showCommand) override {
    call = verb + "|" + file + "|" + parameters + "|" + directory + "|" + std::to_string(showCommand);
    return result;
  }
  std::intptr_t result = 42;
  std::string call;
};

class Folder : public platform::ProgramFacts {
 public:
  std::string CommandLine() override { return ""; }
  std::string InstallFolder() override { return "C:\\Tools"; }
  platform::OwnVersion Version() override { return {}; }
};

std::vector<std::string> ShownFor(std::intptr_t result, std::string* call = nullptr) {
  ShellAnswering ui;
  ui.result = result;
  Folder program;
  Session session;
  MessageBoxes boxes(ui, session);
  LaunchHelpFile(ui, program, boxes);
  if (call) *call = ui.call;
  std::vector<std::string> texts;
  for (const auto& box : ui.shown) texts.push_back(box.title + ": " + box.text);
  return texts;
}

TEST(LaunchHelpFile, OpensThePageFromTheProgramFolderAndSaysNothingWhenItOpened) {
  std::string call;
  EXPECT_TRUE(ShownFor(33, &call).empty());
  EXPECT_EQ(call, "Open|C:\\Tools\\Fernwick.htm||C:\\Tools|1");
}

TEST(LaunchHelpFile, NoAssociationAndOtherFailuresExplainThemselves) {
  EXPECT_EQ(
      ShownFor(31),
      (std::vector<std::string>{"Fernwick: No program is currently associated to open this file type: Fernwick.htm"}));
  EXPECT_EQ(ShownFor(2), (std::vector<std::string>{"Fernwick: Unable to launch help file Fernwick.htm. Try opening the "
                                                   "file manually in a browser. Error code returned is 2"}));
}

}  // namespace
}  // namespace fernwick::shell
