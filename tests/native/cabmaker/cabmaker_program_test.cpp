// The native cabmaker program, run as Fernwick runs it: from the output
// folder, with "/f" and the directive file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

struct Folder {
  Folder()
      : path(fs::temp_directory_path() / ("cabmaker-test-" + std::to_string(::getpid()) + "-" + std::to_string(n++))) {
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~Folder() { fs::remove_all(path); }
  void Write(const std::string& name, const std::string& content) const {
    std::ofstream(path / name, std::ios::binary) << content;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(path / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Runs the command in the folder; its exit code; standard error into "stderr.txt".
  int Run(const std::string& command) const {
    const int status = std::system(("cd '" + path.string() + "' && " + command + " 2>stderr.txt >stdout.txt").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  fs::path path;
  static inline int n = 0;
};

const std::string kDirectives =
    ".Set CabinetNameTemplate=VoxtraInfo.cab\r\n.Set DiskDirectoryTemplate=.\r\n.Set CompressionType=MSZIP\r\n"
    "\"VoxtraSystemInfo.txt\"\r\n\"system_event_log.csv\"\r\n.New Folder\r\n\"ServiceInfo.csv\"\r\n";

TEST(CabmakerProgram, WritesAnMszipCabinetThatCabextractVerifiesAndExtractsIdentically) {
  Folder dir;
  std::string big;
  for (int i = 0; i < 20000; ++i) big += "line " + std::to_string(i) + ",System,Information,7036\r\n";
  dir.Write("VoxtraSystemInfo.txt", "report\r\n");
  dir.Write("system_event_log.csv", big);
  // Still held open for writing, as by a program that outlived its wait:
  // packed as it stands.
  std::ofstream held(dir.path / "ServiceInfo.csv", std::ios::binary);
  held << "ServiceName,DisplayName\r\n" << std::flush;
  dir.Write("voxtrainfo.ddf", kDirectives);
  ASSERT_EQ(dir.Run(std::string(FERNWICK_CABMAKER) + " /f \"" + (dir.path / "voxtrainfo.ddf").string() + "\""), 0)
      << dir.Read("stderr.txt");
  EXPECT_EQ(dir.Read("stderr.txt"), "");
  ASSERT_TRUE(fs::exists(dir.path / "VoxtraInfo.cab"));
  EXPECT_LT(fs::file_size(dir.path / "VoxtraInfo.cab"), big.size() / 4) << "not compressed";
  EXPECT_TRUE(fs::exists(dir.path / "setup.rpt"));
  EXPECT_TRUE(fs::exists(dir.path / "setup.inf"));
  EXPECT_FALSE(fs::exists(dir.path / "disk1"));
  EXPECT_EQ(dir.Run("cabextract -q -t VoxtraInfo.cab"), 0) << dir.Read("stderr.txt");
  fs::create_directory(dir.path / "x");
  ASSERT_EQ(dir.Run("cabextract -q -d x VoxtraInfo.cab"), 0);
  EXPECT_EQ(dir.Read("x/system_event_log.csv"), big);
  EXPECT_EQ(dir.Read("x/VoxtraSystemInfo.txt"), "report\r\n");
  EXPECT_EQ(dir.Read("x/ServiceInfo.csv"), "ServiceName,DisplayName\r\n");
}

TEST(CabmakerProgram, AMissingSourceIsNamedOnStandardErrorAndNoCabinetIsWritten) {
  Folder dir;
  dir.Write("VoxtraSystemInfo.txt", "report\r\n");
  dir.Write("ServiceInfo.csv", "x");
  dir.Write("voxtrainfo.ddf", kDirectives);
  EXPECT_EQ(dir.Run(std::string(FERNWICK_CABMAKER) + " /f voxtrainfo.ddf"), 1);
  EXPECT_EQ(dir.Read("stderr.txt"),
            "cabmaker: cannot read \"system_event_log.csv\" (voxtrainfo.ddf line 5): No such file or directory\n"
            "cabmaker: no cabinet written\n");
  EXPECT_FALSE(fs::exists(dir.path / "VoxtraInfo.cab"));
  EXPECT_FALSE(fs::exists(dir.path / "setup.rpt"));
}

TEST(CabmakerProgram, AnOptionalMissingSourceIsNamedAndLeftOut) {
  Folder dir;
  dir.Write("a.txt", "a");
  dir.Write("d.ddf",
            ".Set DiskDirectoryTemplate=.\n.Set CabinetNameTemplate=x.cab\na.txt\nswitchlog.txt /optional=yes\n");
  EXPECT_EQ(dir.Run(std::string(FERNWICK_CABMAKER) + " /f d.ddf"), 0);
  EXPECT_EQ(dir.Read("stderr.txt"),
            "cabmaker: optional \"switchlog.txt\" (d.ddf line 4) left out: No such file or directory\n");
  EXPECT_EQ(dir.Run("cabextract -q -t x.cab"), 0);
}

TEST(CabmakerProgram, TheDefaultDiskFolderIsDisk1AndBadArgumentsShowTheUsage) {
  Folder dir;
  dir.Write("a.txt", "a");
  dir.Write("d.ddf", ".Set CabinetNameTemplate=VoxtraInfo.cab\na.txt\n");
  EXPECT_EQ(dir.Run(std::string(FERNWICK_CABMAKER) + " /f d.ddf"), 0) << dir.Read("stderr.txt");
  EXPECT_TRUE(fs::exists(dir.path / "disk1" / "VoxtraInfo.cab"));
  EXPECT_EQ(dir.Run(std::string(FERNWICK_CABMAKER) + " d.ddf"), 2);
  EXPECT_EQ(dir.Read("stderr.txt"), "Usage: cabmaker /f DIRECTIVES.ddf\n");
  EXPECT_EQ(dir.Run(std::string(FERNWICK_CABMAKER) + " /f nothing.ddf"), 1);
  dir.Write("small.ddf", ".Set MaxDiskSize=10\na.txt\n");
  EXPECT_EQ(dir.Run(std::string(FERNWICK_CABMAKER) + " /f small.ddf"), 1);
  EXPECT_NE(dir.Read("stderr.txt").find("more than MaxDiskSize (10)"), std::string::npos);
}

}  // namespace
