// The prompts line of the install section for each state of the server.
#include <gtest/gtest.h>

#include "native/report/silent_gathering.h"

namespace fernwick::report {
namespace {

const std::string kVersion42 =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Norvane Systems\\Norvane Voxtra]\r\n\"MajorVersion\"=dword:00000004\r\n"
    "\"MinorVersion\"=dword:00000002\r\n";
const std::string kRootPath =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaline\\CommServer\\1.0]\r\n\"Root Path\"=\"C:\\\\Voxtra\\\\\"\r\n";

// What the report says between the default GUI language and the TTS line.
std::string PromptsLines(testing::TempImage& image, bool skipSwitch) {
  const ReportBuffer buffer = GatherSilently(image, skipSwitch);
  const std::string& text = buffer.Text();
  const auto gui = text.find("     Default GUI Language = ");
  const auto start = text.find("\r\n", gui) + 2;
  return text.substr(start, text.find("     Default TTS Language = ") - start);
}

TEST(PromptsLine, TheSkipSwitchSkipsTheCheckWithoutReadingAFile) {
  testing::TempImage image;
  image.Registry(kVersion42 + kRootPath);
  image.Write("drives/C/Voxtra/Localize/Prompts/ENU/Prompt.ini", "[Broken\r\n");
  EXPECT_EQ(PromptsLines(image, true), "     Prompts : Skipped due to CLI switch /skippromptcheck\r\n");
}

TEST(PromptsLine, NoRootPathInTheRegistry) {
  testing::TempImage image;
  image.Registry(kVersion42);
  EXPECT_EQ(PromptsLines(image, false),
            "     Prompts : *Error* Unable to determine commserver root from registry "
            "HKLM\\SW\\TL\\COMMSERVER\\10\\Root Path\r\n");
}

TEST(PromptsLine, ARootPathThatIsNoFolder) {
  testing::TempImage image;
  image.Registry(kVersion42 + kRootPath);
  EXPECT_EQ(
      PromptsLines(image, false),
      "        Prompt Directory C:\\Voxtra\\ does not exists according to HKLM/SW/TL/COMMSERVER/10/Root Path\r\n");
}

TEST(PromptsLine, AnAbandonedCheckIsAnErrorNeverVerified) {
  testing::TempImage image;
  image.Registry(kVersion42 + kRootPath);
  image.Write("drives/C/Voxtra/Localize/Prompts/ENU/Prompt.ini", "[Fine]\r\n[Broken\r\n");
  EXPECT_EQ(PromptsLines(image, false),
            "\r\n(error):5 (Invalid procedure call or argument) in procedure GetSystemInfo of Form frmMain\r\n"
            "     Prompts : *Error* - the prompt check did not complete (see the error above)\r\n");
}

TEST(PromptsLine, AMissingPromptsFolderAbandonsTheCheck) {
  testing::TempImage image;
  image.Registry(kVersion42 + kRootPath);
  image.Folder("drives/C/Voxtra");
  EXPECT_EQ(PromptsLines(image, false),
            "\r\n(error):76 (Path not found) in procedure GetSystemInfo of Form frmMain\r\n"
            "     Prompts : *Error* - the prompt check did not complete (see the error above)\r\n");
}

}  // namespace
}  // namespace fernwick::report
