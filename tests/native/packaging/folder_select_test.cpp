#include "packaging/folder_select.h"

#include <gtest/gtest.h>

#include "native/temp_image.h"
#include "platform/image/image_services.h"
#include "packaging/startup_hook.h"

namespace fernwick::packaging {
namespace {

struct BrowseCase {
  std::string picked;  // what the picker answers; empty: cancel
  std::string savePath;
  bool refused;
};

TEST(Browse, TakesTheChosenFolderWithABackslashButNeverTheInstallFolder) {
  const std::string before = "C:\\Voxtra\\SystemInfo\\";
  for (const BrowseCase& c :
       {BrowseCase{"D:\\Out", "D:\\Out\\", false}, BrowseCase{"E:\\", "E:\\", false}, BrowseCase{"", before, false},
        BrowseCase{"c:\\PROGRAM FILES\\fernwick", before, true},
        BrowseCase{"C:\\Program Files\\Fernwick\\", before, true},
        BrowseCase{"C:\\Program Files\\Fernwick\\Sub", "C:\\Program Files\\Fernwick\\Sub\\", false}}) {
    testing::TempImage image;
    image.Registry("");
    auto& server = image.Open();
    auto& ui = dynamic_cast<image::ImageUserInterface&>(server.Platform().ui);
    ui.browseAnswer = c.picked;
    Session session;
    MessageBoxes boxes(ui, session);
    EXPECT_EQ(cmdBrowse_Click(server.Platform(), boxes, before), c.savePath) << c.picked;
    EXPECT_EQ(server.ShownMessages(),
              c.refused ? std::vector<std::string>{kInstallFolderRefused} : std::vector<std::string>{})
        << c.picked;
  }
}

TEST(StartupHook, StartsTestBatMinimizedWithTheVersionAndAddress) {
  const platform::OwnVersion version{2, 0, 4};
  EXPECT_EQ(StartupHookCommand("C:\\F", version, "http://h/p.html", ""), "\"C:\\F\\test.bat\" 2.0.4 http://h/p.html");
  EXPECT_EQ(StartupHookCommand("C:\\F", version, "http://h/p.html", "x"), "\"C:\\F\\test.bat\" 2.0.4 http://h/p.html");
  EXPECT_EQ(StartupHookCommand("C:\\F", version, "http://h/p.html", "ab"),
            "\"C:\\F\\test.bat\" 2.0.4 http://h/p.html \"ab\"");

  testing::TempImage image;
  image.Registry("");
  auto& server = image.Open();
  auto& process = dynamic_cast<image::ImageProcessControl&>(server.Platform().process);
  RunStartupHook(server.Platform(), "http://h/p.html", "");  // no test.bat: nothing, silently
  EXPECT_TRUE(process.started.empty());
  image.Write("drives/C/Program Files/Fernwick/test.bat", "@echo off\r\n");
  RunStartupHook(server.Platform(), "http://h/p.html", "");
  ASSERT_EQ(process.started.size(), 1u);
  EXPECT_EQ(process.started[0].commandLine, "\"C:\\Program Files\\Fernwick\\test.bat\" 2.0.4 http://h/p.html");
  EXPECT_EQ(process.started[0].windowStyle, platform::kWindowMinimizedFocus);
  EXPECT_TRUE(server.ShownMessages().empty());
}

}  // namespace
}  // namespace fernwick::packaging
