#include "packaging/capture_step.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "frontend/native/cabinet_image/cabinet_files.h"
#include "frontend/native/packaging_programs/packaging_programs.h"
#include "native/temp_image.h"
#include "common/message_boxes.h"
#include "packaging/manifest.h"
#include "packaging/write_to_file.h"
#include "platform/recording/recorder.h"

namespace fernwick::packaging {
namespace {

namespace fs = std::filesystem;

// A recording that writes a small image through the file system it is given.
class FakeStore : public platform::CaptureStore {
 public:
  FakeStore(platform::FileSystem& files, std::string failure) : files_(files), failure_(std::move(failure)) {}
  void Restart() override {}
  std::string WriteImage(const std::string& folder) override {
    ++writes;
    const std::string root = folder.substr(0, folder.size() - 1);
    for (const char* sub : {"", "\\registry", "\\drives", "\\drives\\C"}) files_.CreateFolder(root + sub);
    files_.WriteWholeFile(folder + "image.ini", "[clock]\r\nNow=2026-12-07 09:05:03\r\n");
    files_.WriteWholeFile(folder + "registry\\server.reg", "REGEDIT4\r\n");
    return writes <= succeedFirst ? "" : failure_;
  }
  int writes = 0;
  int succeedFirst = 0;  // how many writes succeed before the failure

 private:
  platform::FileSystem& files_;
  std::string failure_;
};

class Window : public PackagingWindow {
 public:
  std::string ReportText() override { return report; }
  void SetReportText(const std::string& text) override { report = text; }
  std::string SavePathText() override { return "C:\\Out"; }
  void ShowSplash(bool) override {}
  std::string report = "Report line";
};

using Files = std::vector<std::pair<std::string, std::string>>;

Files Contents(const native::CabinetFiles& cabinet) {
  EXPECT_EQ(cabinet.error, "");
  Files files;
  for (const auto& f : cabinet.files) files.emplace_back(f.name, f.bytes);
  return files;
}

// An install folder with what Write To File starts, and the shipped directive files.
void Install(testing::TempImage& image) {
  image.Registry("");
  const std::string install = "drives/C/Program Files/Fernwick/";
  for (const char* program : {"dumpel.exe", "Tabulex.exe", "cabmaker.exe"}) image.Write(install + program, "");
  for (const char* file : {"voxtrainfo.ddf", "voxtrainfo_SwitchInfo.ddf"}) {
    std::ifstream shipped(std::string(FERNWICK_SOURCE_DIR) + "/shipped/" + file, std::ios::binary);
    std::ostringstream content;
    content << shipped.rdbuf();
    image.Write(install + file, content.str());
  }
}

Files AllOf(const std::string& cabinet) {
  return Contents(native::ReadCabinetBytes(
      cabinet, [](const std::string&) { return true; }, 1 << 20));
}

struct CapturedPackage {
  // `failure`: what the recording answers; `record`: whether the platform
  // records at all; `prepare` may change the image's programs.
  CapturedPackage(const std::string& commandLine, const std::string& failure, bool record = true,
                  const std::function<void(image::ServerImage&)>& prepare = {}) {
    Install(image);
    image.Folder("drives/C/Out");
    auto& server = image.Open(commandLine);
    if (prepare) prepare(server);
    FakeStore store(server.Files(), failure);
    platform::Platform p = server.Platform();
    if (record) p.capture = &store;
    Session session;
    session.bSilentMode = true;
    probes::ProductVersion version;
    version.iMajor = 4;
    MessageBoxes messages(p.ui, session);
    messages.KeepIn(p.files, "C:\\Out\\FernwickMessages.txt");
    cmdWriteToFile_Click(p, session, version, window, messages);
    partLost = messages.PartLost();
    imageWrites = store.writes;
    for (const auto& entry : fs::directory_iterator(Out())) left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    packed = Contents(native::ReadCabinetFile(
        Out() / kCabinetName, [](const std::string&) { return true; }, 1 << 20));
    // The manifest is the last entry; the cases compare the others.
    if (!packed.empty() && packed.back().first == kManifestName) {
      manifest = packed.back().second;
      packed.pop_back();
    }
  }
  fs::path Out() const { return image.Out() / "drives/C/Out"; }

  testing::TempImage image;
  Window window;
  int imageWrites = 0;
  bool partLost = false;          // what makes a silent run's exit code 6
  std::vector<std::string> left;  // what the output folder holds afterwards
  Files packed;                   // what VoxtraInfo.cab holds but its manifest
  std::string manifest;           // its Manifest.csv
};

TEST(CaptureStep, TheImageIsPackedAsServerImageCabAndNothingOfItStaysBehind) {
  CapturedPackage run("Fernwick.exe silent", "");
  EXPECT_EQ(run.imageWrites, 1);
  EXPECT_EQ(run.left, (std::vector<std::string>{"VoxtraInfo.cab", "VoxtraInfo.cab.sha256"}));
  ASSERT_FALSE(run.packed.empty());
  EXPECT_EQ(run.packed.back().first, "ServerImage.cab");
  // An empty folder of the image travels as ".keep": a cabinet holds files only.
  EXPECT_EQ(AllOf(run.packed.back().second), (Files{{"image.ini", "[clock]\r\nNow=2026-12-07 09:05:03\r\n"},
                                                    {"drives\\C\\.keep", ""},
                                                    {"registry\\server.reg", "REGEDIT4\r\n"}}));
  EXPECT_EQ(run.window.report, "Report line");
}

TEST(CaptureStep, NocaptureAndAFailedCaptureLeaveThePackageAsWithoutRecording) {
  const CapturedPackage plain("Fernwick.exe silent", "", false);
  ASSERT_FALSE(plain.packed.empty());
  const CapturedPackage off("Fernwick.exe silent /NoCapture", "");
  EXPECT_EQ(off.imageWrites, 0);
  EXPECT_EQ(off.packed, plain.packed);
  EXPECT_EQ(off.left, plain.left);
  EXPECT_FALSE(off.partLost);
  EXPECT_FALSE(plain.partLost);

  // A failed capture costs nothing else; the run's record, packed too, says why.
  const CapturedPackage failed("Fernwick.exe silent", "There is not enough space on the disk.");
  Files expected = plain.packed;
  expected.emplace_back("FernwickMessages.txt",
                        "The server image is not in VoxtraInfo.cab: There is not enough space on the disk.\r\n");
  EXPECT_EQ(failed.packed, expected);
  EXPECT_EQ(failed.left, (std::vector<std::string>{"FernwickMessages.txt", "VoxtraInfo.cab", "VoxtraInfo.cab.sha256"}));
  EXPECT_NE(failed.manifest.find("\r\nFernwickMessages.txt,"), std::string::npos) << failed.manifest;
  EXPECT_EQ(failed.window.report, "Report line");
  EXPECT_TRUE(failed.partLost);
}

// cabmaker refuses the image's cabinet (as it refuses more than 65,535
// files): exit 1, no ServerImage.cab, only its temporary left behind. The
// image is a lost part; everything else is packed.
TEST(CaptureStep, AnImageCabmakerRefusesIsALostPartAndTheRestIsPacked) {
  const CapturedPackage plain("Fernwick.exe silent", "", false);
  const CapturedPackage refused("Fernwick.exe silent", "", true, [](image::ServerImage& server) {
    auto& files = server.Files();
    server.Processes().AddProgram("cabmaker", [&files](const std::string& commandLine) {
      if (commandLine.find(kImageDirectivesName) == std::string::npos) {
        native::RunImageCabmaker(files, commandLine);
        return;
      }
      files.WriteWholeFile("C:\\Out\\ServerImage.cab.part", "half a cabinet");
      files.WriteWholeFile("C:\\Out\\ServerImage.cab.part1", "");
    });
  });
  EXPECT_EQ(refused.imageWrites, 1);
  EXPECT_TRUE(refused.partLost);
  Files expected = plain.packed;
  expected.emplace_back("FernwickMessages.txt",
                        "The server image is not in VoxtraInfo.cab: cabmaker made no ServerImage.cab\r\n");
  EXPECT_EQ(refused.packed, expected);
  EXPECT_EQ(refused.left,
            (std::vector<std::string>{"FernwickMessages.txt", "VoxtraInfo.cab", "VoxtraInfo.cab.sha256"}));
}

TEST(CaptureStep, ASecondWriteToFilePacksTheSameImageNothingOfTheFirstPacking) {
  testing::TempImage image;
  Install(image);
  image.Folder("drives/C/Out");
  auto& server = image.Open("Fernwick.exe");
  recording::Recorder recorder(server.Platform());
  Window window;
  Session session;
  probes::ProductVersion version;
  version.iMajor = 4;
  std::vector<Files> images;
  MessageBoxes messages(recorder.Platform().ui, session);
  for (int press = 0; press < 2; ++press) {
    cmdWriteToFile_Click(recorder.Platform(), session, version, window, messages);
    const auto packed = Contents(native::ReadCabinetFile(
        image.Out() / "drives/C/Out" / kCabinetName, [](const std::string& name) { return name == kImageCabinetName; },
        1 << 20));
    ASSERT_EQ(packed.size(), 1u);
    images.push_back(AllOf(packed.front().second));
  }
  EXPECT_EQ(images[1], images[0]);
}

// With "redact" the image is written again, redacted; when that fails (a
// full disk, a file in the folder's way) nothing goes out in the clear and
// the map stays as it was.
TEST(CaptureStep, ARedactedImageThatCannotBeWrittenMakesNoCabinetAndLeavesTheMap) {
  testing::TempImage image;
  Install(image);
  image.Folder("drives/C/Out");
  const std::string map = "host\tVOXTRA09\tHOST01\r\n";
  image.Write("drives/C/Out/RedactionMap.txt", map);
  auto& server = image.Open("Fernwick.exe silent redact");
  FakeStore store(server.Files(), "There is not enough space on the disk.");
  store.succeedFirst = 1;
  platform::Platform p = server.Platform();
  p.capture = &store;
  Window window;
  window.report = "     Voxtra server name = VOXTRA01\r\n";
  Session session;
  session.bSilentMode = true;
  probes::ProductVersion version;
  version.iMajor = 4;
  MessageBoxes messages(p.ui, session);
  cmdWriteToFile_Click(p, session, version, window, messages);
  EXPECT_EQ(store.writes, 2);
  EXPECT_TRUE(messages.PartLost());
  const fs::path out = image.Out() / "drives/C/Out";
  EXPECT_FALSE(fs::exists(out / kCabinetName));
  EXPECT_EQ(server.Files().ReadWholeFile("C:\\Out\\RedactionMap.txt").value_or(""), map);
  const std::string record = server.Files().ReadWholeFile("C:\\Out\\FernwickMessages.txt").value_or("");
  EXPECT_NE(record.find("VoxtraInfo.cab is not made: it cannot be redacted: the server image: There is not enough "
                        "space on the disk."),
            std::string::npos)
      << record;
}

}  // namespace
}  // namespace fernwick::packaging
