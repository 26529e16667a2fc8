// Writing a capture never throws: a folder or file that cannot be written
// (below a file, a path too long) makes WriteImage name it and leaves no
// image.ini, and the recording stays whole. Each Go records afresh.
#include <gtest/gtest.h>

#include <string>

#include "native/odbc/scratch_folder.h"
#include "platform/image/server_image.h"
#include "platform/recording/recorder.h"

namespace fernwick::recording {
namespace {

TEST(CaptureWrite, AFailedWriteIsNamedAndChangesNothingElse) {
  testing::ScratchFolder scratch;
  image::ServerImage image(std::filesystem::path(FERNWICK_SOURCE_DIR) / "samples" / "exchange2003-42",
                           scratch.Path() / "out", "fernwick");
  Recorder recorder(image.Platform());
  ASSERT_TRUE(recorder.Platform().files.FileExists("C:\\WINDOWS\\system32\\MAPI32.dll"));
  const std::string longFolder = "C:\\" + std::string(250, 'x') + "\\";
  const struct {
    std::string folder;
    std::string reason;
  } cases[]{
      {"C:\\WINDOWS\\system32\\MAPI32.dll\\ServerImage\\", "cannot write C:\\WINDOWS\\system32\\MAPI32.dll"},
      {longFolder, "cannot write " + longFolder + "registry"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(recorder.WriteImage(c.folder), c.reason);
    EXPECT_FALSE(image.Files().FileExists(c.folder + "image.ini"));  // what was written is no image
  }
  EXPECT_EQ(recorder.WriteImage("C:\\ServerImage\\"), "");
  EXPECT_TRUE(image.Files().FileExists("C:\\ServerImage\\drives\\C\\WINDOWS\\system32\\MAPI32.dll"));
}

TEST(CaptureWrite, EachGoStartsAfreshButKeepsWhatTheStartUpRead) {
  testing::ScratchFolder scratch;
  image::ServerImage image(std::filesystem::path(FERNWICK_SOURCE_DIR) / "samples" / "exchange2003-42",
                           scratch.Path() / "out", "fernwick");
  Recorder recorder(image.Platform());
  auto& files = recorder.Platform().files;
  files.FileExists("C:\\WINDOWS\\system32\\MAPI32.dll");  // the start-up
  recorder.Restart();
  files.FileExists("C:\\WINDOWS\\system32\\EMSMDB32.dll");  // the first Go
  recorder.Restart();
  ASSERT_EQ(recorder.WriteImage("C:\\Capture\\"), "");
  EXPECT_TRUE(image.Files().FileExists("C:\\Capture\\drives\\C\\WINDOWS\\system32\\MAPI32.dll"));
  EXPECT_FALSE(image.Files().FileExists("C:\\Capture\\drives\\C\\WINDOWS\\system32\\EMSMDB32.dll"));
}

}  // namespace
}  // namespace fernwick::recording
