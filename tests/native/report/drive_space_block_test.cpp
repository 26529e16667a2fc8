// The capacity block under a storage location whose drive cannot be read.
#include <gtest/gtest.h>

#include "native/temp_image.h"
#include "report/gathering.h"

namespace fernwick::report {
namespace {

std::string InstallLinesAfterCoreFiles(testing::TempImage& image) {
  auto& server = image.Open();
  Session session{.bSilentMode = true, .bSkipPromptCheck = true};
  ReportBuffer buffer;
  MessageBoxes messages(server.Platform().ui, session);
  PromptCheckState promptCheck;
  Gathering g{server.Platform(), session, buffer, messages, promptCheck};
  GetSystemInfo(g);
  const std::string& text = buffer.Text();
  const auto start = text.find("     Core install files to=");
  return text.substr(start, text.find("     Cannot determine location of QMR") - start);
}

const std::string kServer =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Norvane Systems\\Norvane Voxtra]\r\n\"MajorVersion\"=dword:00000004\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaline\\CommServer\\1.0]\r\n\"Root Path\"=\"C:\\\\Voxtra\\\\\"\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaline\\TlLogMgr\\1.0]\r\n\"Output Path\"=\"Q:\\\\Logs\"\r\n";
const std::string kDiskNotReady = "\r\n(error):71 (Disk not ready) in procedure GetSystemInfo of Form frmMain\r\n";

TEST(DriveSpaceBlock, AnUnreadableDriveReportsEachFailedReadAndReusesTheFiguresLeftOver) {
  testing::TempImage image;
  image.Registry(kServer);
  image.Write("image.ini", "[drives]\nC=2000000 500000\n");
  EXPECT_EQ(InstallLinesAfterCoreFiles(image),
            "     Core install files to= C:\\Voxtra\\\r\n"
            "         Total capacity (megs)= 2\r\n"
            "         Megs free= 0.5\r\n"
            "         % free space= 25\r\n"
            "     Logging diagnostics and data files to= Q:\\Logs\r\n" +
                kDiskNotReady + kDiskNotReady +
                "         Total capacity (megs)= 2\r\n"
                "         Megs free= 0.5\r\n"
                "         % free space= 25\r\n");
}

TEST(DriveSpaceBlock, AFirstUnreadableDriveHasNoFiguresAndNoPercentage) {
  testing::TempImage image;
  image.Registry(kServer);
  const std::string expected = "     Core install files to= C:\\Voxtra\\\r\n" + kDiskNotReady + kDiskNotReady +
                               "         Total capacity (megs)= 0\r\n"
                               "         Megs free= 0\r\n"
                               "\r\n(error):6 (Overflow) in procedure GetSystemInfo of Form frmMain\r\n"
                               "     Logging diagnostics and data files to= Q:\\Logs\r\n";
  const std::string lines = InstallLinesAfterCoreFiles(image);
  EXPECT_EQ(lines.substr(0, expected.size()), expected);
}

TEST(ServerImageDrives, MalformedDriveOrDateLinesStopTheImageWithTheLine) {
  const struct {
    std::string facts;
    std::string value;
  } cases[] = {{"[drives]\nC=lots\n", "lots"},
               {"[drives]\nC=10 20\n", "10 20"},  // more free than in total
               {"[file dates]\nC:\\x=yesterday\n", "yesterday"}};
  for (const auto& [facts, value] : cases) {
    testing::TempImage image;
    image.Registry("");
    image.Write("image.ini", facts);
    try {
      image.Open();
      ADD_FAILURE() << facts << ": accepted";
    } catch (const image::ServerImageError& e) {
      EXPECT_NE(std::string(e.what()).find("image.ini: ["), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("=" + value + ": expected"), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace fernwick::report
