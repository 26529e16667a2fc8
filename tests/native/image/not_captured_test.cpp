// A captured image answers exactly what the gathering read, the negative
// answers included, and stops every other question with "not captured".
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>

#include "native/odbc/scratch_folder.h"
#include "platform/image/not_captured.h"
#include "platform/image/server_image.h"

namespace fernwick::image {
namespace {

void Write(const std::filesystem::path& file, const std::string& text) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

class CapturedImage : public ::testing::Test {
 protected:
  CapturedImage() {
    const auto& root = scratch_.Path() / "image";
    Write(root / "image.ini", "[capture]\nRecordedBy=Fernwick 2.0.4\n[drives]\nC=100 50\n");
    Write(root / "registry" / "capture.reg", "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Known]\n\"a\"=\"1\"\n");
    Write(root / "answers.txt",
          "key\tHKEY_LOCAL_MACHINE\\\\SOFTWARE\\\\Denied\t5\n"
          "value\tHKEY_LOCAL_MACHINE\\\\SOFTWARE\\\\Known\tb\t2\n"
          "nofile\tC:\\\\Gone.txt\n"
          "nodrive\t\\\\\\\\server\\\\share\n"
          "listed\tC:\\\\Listed\n"
          "order\tC:\\\\Listed\tfiles\tz.txt\ta.txt\n");
    Write(root / "versions.txt", "C:\\\\Known\\\\file.txt\tsize\t120\n");
    Write(root / "drives" / "C" / "Known" / "file.txt", "");
    Write(root / "drives" / "C" / "Listed" / "a.txt", "");
    Write(root / "drives" / "C" / "Listed" / "z.txt", "");
    image_.emplace(root, scratch_.Path() / "out", "fernwick");
  }

  platform::Platform& P() { return image_->Platform(); }
  platform::RegKey Open(const std::string& path) {
    platform::RegKey key = 0;
    EXPECT_EQ(P().registry.OpenKey(platform::kHkeyLocalMachine, path, key), 0);
    return key;
  }

  testing::ScratchFolder scratch_;
  std::optional<ServerImage> image_;
};

TEST_F(CapturedImage, RecordedAnswersAreGivenExactly) {
  platform::RegKey key = 0;
  EXPECT_EQ(P().registry.OpenKey(platform::kHkeyLocalMachine, "SOFTWARE\\Denied", key), 5);
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(P().registry.QueryValue(Open("SOFTWARE\\Known"), "b", type, nullptr, size), 2);
  EXPECT_FALSE(P().files.FileExists("C:\\Gone.txt"));
  EXPECT_FALSE(P().files.DriveSpaceOf("\\\\server\\share"));
  EXPECT_EQ(P().versions.InfoSize("C:\\Known\\file.txt"), 120u);
  EXPECT_EQ(P().files.ListFolder("C:\\Listed")->files, (std::vector<std::string>{"z.txt", "a.txt"}));
  EXPECT_FALSE(P().files.FileExists("C:\\Listed\\b.txt"));  // the listing is complete
}

TEST_F(CapturedImage, AnyOtherQuestionIsNotCapturedAndNamed) {
  struct Case {
    std::string question;
    std::function<void(platform::Platform&)> ask;
  };
  const std::vector<Case> cases{
      {"registry key HKLM\\SOFTWARE\\Other",
       [](platform::Platform& p) {
         platform::RegKey key = 0;
         p.registry.OpenKey(platform::kHkeyLocalMachine, "SOFTWARE\\Other", key);
       }},
      {"registry value HKLM\\SOFTWARE\\Known\\c",
       [this](platform::Platform& p) {
         std::uint32_t type = 0, size = 0;
         p.registry.QueryValue(Open("SOFTWARE\\Known"), "c", type, nullptr, size);
       }},
      {"registry subkeys of HKLM\\SOFTWARE\\Known",
       [this](platform::Platform& p) {
         char name[256];
         p.registry.EnumKey(Open("SOFTWARE\\Known"), 0, name, sizeof name);
       }},
      {"file C:\\Elsewhere\\x.txt", [](platform::Platform& p) { p.files.FileExists("C:\\Elsewhere\\x.txt"); }},
      {"folder C:\\Elsewhere", [](platform::Platform& p) { p.files.FolderExists("C:\\Elsewhere"); }},
      {"contents of file C:\\Known\\file.txt",
       [](platform::Platform& p) { p.files.ReadWholeFile("C:\\Known\\file.txt"); }},
      {"listing of folder C:\\Known", [](platform::Platform& p) { p.files.ListFolder("C:\\Known"); }},
      {"subfolders of C:\\Known", [](platform::Platform& p) { p.files.SubFolderNames("C:\\Known"); }},
      {"date of file C:\\Known\\file.txt",
       [](platform::Platform& p) { p.files.FileLastModified("C:\\Known\\file.txt"); }},
      {"drive D:", [](platform::Platform& p) { p.files.DriveSpaceOf("D:"); }},
      {"database query SELECT 1",
       [](platform::Platform& p) { p.database.OpenQuery("SELECT 1", "Driver={SQL Server}"); }},
      {"server connection Provider=SQLOLEDB;Server=X",
       [](platform::Platform& p) { p.database.OpenServer("Provider=SQLOLEDB;Server=X"); }},
      {"web page http://VOXTRA01/tlxml/effectivelicense.asp",
       [](platform::Platform& p) {
         std::uint32_t error = 0;
         p.internet.OpenUrl("a", 0, "http://VOXTRA01/tlxml/effectivelicense.asp", 0, error);
       }},
      {"version block of C:\\Known\\file.txt", [](platform::Platform& p) { p.versions.Load("C:\\Known\\file.txt"); }},
      {"version resource size of C:\\other.dll", [](platform::Platform& p) { p.versions.InfoSize("C:\\other.dll"); }},
      {"language name 0409", [](platform::Platform& p) { p.versions.LanguageName(0x409); }},
      {"clock", [](platform::Platform& p) { p.clock.Now(); }},
      {"workstation: NetWkstaGetInfo level 102",
       [](platform::Platform& p) {
         platform::WkstaInfo102 info;
         p.workstation.GetInfo102(info);
       }},
  };
  for (const Case& c : cases) {
    std::string asked = "(answered)";
    try {
      c.ask(P());
    } catch (const NotCaptured& e) {
      asked = e.Question();
    }
    EXPECT_EQ(asked, c.question);
  }
}

}  // namespace
}  // namespace fernwick::image
