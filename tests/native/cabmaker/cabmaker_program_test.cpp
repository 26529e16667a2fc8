// The native cabmaker program, run as Fernwick runs it: from the output
// folder, with "/f" and the directive file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cabmaker/gcab/gcab_writer.h"

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
  EXPECT_EQ(dir.Run(std::string(FERNWICK_CABMAKER) + " /f d.ddf /l left.txt"), 3);
  EXPECT_EQ(dir.Read("left.txt"), "switchlog.txt\tNo such file or directory\r\n");
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
  EXPECT_EQ(dir.Read("stderr.txt"), "Usage: cabmaker /f DIRECTIVES.ddf [/l LISTFILE]\n");
  EXPECT_EQ(dir.Run(std::string(FERNWICK_CABMAKER) + " /f nothing.ddf"), 1);
  dir.Write("small.ddf", ".Set MaxDiskSize=10\na.txt\n");
  EXPECT_EQ(dir.Run(std::string(FERNWICK_CABMAKER) + " /f small.ddf"), 1);
  EXPECT_NE(dir.Read("stderr.txt").find("more than MaxDiskSize (10)"), std::string::npos);
}

TEST(CabmakerProgram, ReplacesAnEarlierCabinetOnlyWithAWholeOneAndLeavesNoTemporaries) {
  Folder dir;
  dir.Write("VoxtraSystemInfo.txt", "report\r\n");
  dir.Write("system_event_log.csv", "log\r\n");
  dir.Write("ServiceInfo.csv", "services\r\n");
  dir.Write("voxtrainfo.ddf", kDirectives);
  dir.Write("VoxtraInfo.cab", "last week's");
  // What a cabmaker ended at its limit left behind.
  dir.Write("VoxtraInfo.cab.part", "cut off");
  dir.Write("VoxtraInfo.cab.part2", "a snapshot");
  ASSERT_EQ(dir.Run(std::string(FERNWICK_CABMAKER) + " /f voxtrainfo.ddf /l left.txt"), 0) << dir.Read("stderr.txt");
  EXPECT_EQ(dir.Run("cabextract -q -t VoxtraInfo.cab"), 0);
  EXPECT_EQ(dir.Read("left.txt"), "");
  for (const auto& entry : fs::directory_iterator(dir.path)) {
    EXPECT_FALSE(entry.path().filename().string().starts_with("VoxtraInfo.cab.part")) << entry.path();
  }

  // A cabinet that cannot take the old one's place (here a folder of that
  // name) leaves it as it was, and no temporaries.
  fs::remove(dir.path / "VoxtraInfo.cab");
  fs::create_directory(dir.path / "VoxtraInfo.cab");
  dir.Write("VoxtraInfo.cab/inside.txt", "kept");
  EXPECT_EQ(dir.Run(std::string(FERNWICK_CABMAKER) + " /f voxtrainfo.ddf /l left.txt"), 1);
  EXPECT_NE(dir.Read("stderr.txt").find("cannot put the cabinet in place of \"VoxtraInfo.cab\""), std::string::npos)
      << dir.Read("stderr.txt");
  EXPECT_TRUE(dir.Read("left.txt").starts_with("\tcannot put the cabinet in place of"));
  EXPECT_EQ(dir.Read("VoxtraInfo.cab/inside.txt"), "kept");
  for (const auto& entry : fs::directory_iterator(dir.path)) {
    EXPECT_FALSE(entry.path().filename().string().starts_with("VoxtraInfo.cab.part")) << entry.path();
  }
}

// Another program goes on writing a file while cabmaker packs: here it
// appends to the event log when the writer looks up the next file, after
// the event log has been measured and added.
TEST(CabmakerProgram, AFileThatGrowsWhilePackedIsPackedAsMeasuredAndTheNextFileStaysWhole) {
  using fernwick::cabmaker::CabinetPlan;
  Folder dir;
  std::string log;
  for (int i = 0; i < 3000; ++i) log += std::to_string(i) + ",Information,Voxtra Messaging,1000\r\n";
  const std::string services = "ServiceName,DisplayName\r\nVoxtraMsg,Voxtra Messaging\r\n";
  dir.Write("system_event_log.csv", log);
  dir.Write("ServiceInfo.csv", services);
  CabinetPlan plan;
  plan.folders = {{{"system_event_log.csv", "system_event_log.csv", log.size(), 1, true, "system_event_log.csv"},
                   {"ServiceInfo.csv", "ServiceInfo.csv", services.size(), 2, true, "ServiceInfo.csv"}}};
  const auto hostPath = [&dir](const std::string& source) {
    if (source == "ServiceInfo.csv") {
      std::ofstream(dir.path / "system_event_log.csv", std::ios::binary | std::ios::app) << std::string(70000, 'x');
    }
    return (dir.path / source).string();
  };
  std::string notes;
  const auto note = [&notes](const std::string& line) { notes += line + "\n"; };
  std::string failed;
  ASSERT_EQ(fernwick::cabmaker::WriteCabinetWithGcab(plan, (dir.path / "x.cab.part").string(), hostPath, failed, note),
            "");
  EXPECT_EQ(dir.Run("cabextract -q -t x.cab.part"), 0) << dir.Read("stderr.txt");
  fs::create_directory(dir.path / "x");
  ASSERT_EQ(dir.Run("cabextract -q -d x x.cab.part"), 0) << dir.Read("stderr.txt");
  EXPECT_EQ(dir.Read("x/ServiceInfo.csv"), services);
  EXPECT_EQ(dir.Read("x/system_event_log.csv"), log);
  EXPECT_FALSE(fs::exists(dir.path / "x.cab.part1")) << "the snapshots are removed";
  EXPECT_FALSE(fs::exists(dir.path / "x.cab.part2"));

  // Grown already when it is packed: its first bytes, as measured, with a line.
  ASSERT_EQ(fernwick::cabmaker::WriteCabinetWithGcab(plan, (dir.path / "z.cab.part").string(), hostPath, failed, note),
            "");
  EXPECT_EQ(notes, "cabmaker: \"system_event_log.csv\" grew while it was packed: its first " +
                       std::to_string(log.size()) + " bytes, as measured, are packed\n");
  fs::create_directory(dir.path / "z");
  ASSERT_EQ(dir.Run("cabextract -q -d z z.cab.part"), 0) << dir.Read("stderr.txt");
  EXPECT_EQ(dir.Read("z/system_event_log.csv"), log);
  EXPECT_EQ(dir.Read("z/ServiceInfo.csv"), services);

  // A file cut short after it was measured fails, so that an optional one
  // is left out instead of being packed with a gap.
  plan.folders[0][0].size = fs::file_size(dir.path / "system_event_log.csv") + 10;
  const std::string failure =
      fernwick::cabmaker::WriteCabinetWithGcab(plan, (dir.path / "y.cab.part").string(), hostPath, failed, note);
  EXPECT_EQ(failure, "it became shorter while it was packed (" + std::to_string(plan.folders[0][0].size - 10) +
                         " of the " + std::to_string(plan.folders[0][0].size) + " bytes measured)");
  EXPECT_EQ(failed, "system_event_log.csv");
  EXPECT_FALSE(fs::exists(dir.path / "y.cab.part1"));
}

}  // namespace
