#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "native/temp_image.h"
#include "shell/main_presenter.h"

namespace fernwick::shell {
namespace {

class QuietView : public MainView {
 public:
  void SetText(Control c, const std::string& text) override { texts[static_cast<std::size_t>(c)] = text; }
  std::string Text(Control c) override { return texts[static_cast<std::size_t>(c)]; }
  void SetEnabled(Control, bool) override {}
  void Place(Control, const TwipRect&) override {}
  void SetWindowSize(std::optional<int>, std::optional<int>) override {}
  std::string texts[8];
};

TEST(SilentRun, AWorkFolderThatCannotBeMadeIsRecordedInTheTemporaryFolder) {
  testing::TempImage image;
  image.Registry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaline\\CommServer\\1.0]\r\n\"Root Path\"=\"Q:\\\\Gone\\\\\"\r\n");
  image.Folder("drives/C/WINDOWS/Temp");
  QuietView view;
  MainPresenter presenter(image.Open("Fernwick.exe silent").Platform(), view);
  EXPECT_EQ(presenter.FormLoad(), StartupOutcome::Failed);
  std::ifstream in(image.Out() / "drives/C/WINDOWS/Temp/FernwickMessages.txt", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), presenter.StartupError() + "\r\n");
  EXPECT_NE(presenter.StartupError().find("Q:\\Gone\\SystemInfo"), std::string::npos);
}

}  // namespace
}  // namespace fernwick::shell
