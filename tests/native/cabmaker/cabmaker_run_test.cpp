// cabmaker's run over a machine held in memory: exit codes, the list of
// what was left out, the temporary name the cabinet is written under and
// what becomes of an earlier cabinet.
#include "cabmaker/cabmaker_run.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace fernwick::cabmaker {
namespace {

// Files are names with contents. A cabinet is the names it packs; while
// it is written, a temporary file of the writer's own stands beside it, as
// FCI's do.
struct FakeHost : CabinetHost {
  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    const auto found = files.find(path);
    return found == files.end() ? std::nullopt : std::optional<std::string>(found->second);
  }
  std::optional<std::uint64_t> ReadableSize(const std::string& path, std::string& reason) override {
    const auto found = files.find(path);
    if (found == files.end()) reason = "not found";
    return found == files.end() ? std::nullopt : std::optional<std::uint64_t>(found->second.size());
  }
  bool FolderExists(const std::string& path) override { return folders.count(path) > 0; }
  bool CreateFolder(const std::string& path) override { return folders.insert(path).second; }
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override {
    files[path] = bytes;
    return true;
  }
  void RemoveFile(const std::string& path) override { files.erase(path); }
  std::string WriteCabinet(const CabinetPlan& plan, const std::string& path, std::string& failedSource) override {
    ++cabinetsWritten;
    files[path + "1"] = "temporary";
    std::string cabinet = "CAB";
    for (const auto& folder : plan.folders) {
      for (const auto& file : folder) {
        if (file.source == failsWhilePacked) {
          failedSource = file.source;
          files[path] = cabinet;
          return "it was deleted";
        }
        cabinet += " " + file.destination;
      }
    }
    files[path] = cabinet;
    files.erase(path + "1");
    return {};
  }
  std::optional<std::uint64_t> FileSize(const std::string& path) override {
    const auto found = files.find(path);
    return found == files.end() ? std::nullopt : std::optional<std::uint64_t>(found->second.size());
  }
  void Error(const std::string& line) override { errors += line + "\n"; }
  bool ReplaceFile(const std::string& from, const std::string& to, std::string& reason) override {
    if (heldOpen.count(to) > 0) {
      reason = "it is being used by another process";
      return false;
    }
    files[to] = files[from];
    files.erase(from);
    return true;
  }
  void RemoveFilesStartingWith(const std::string& prefix) override {
    for (auto file = files.lower_bound(prefix); file != files.end() && file->first.starts_with(prefix);) {
      file = files.erase(file);
    }
  }

  // The names of the files that start with `prefix`.
  std::string Named(const std::string& prefix) const {
    std::string names;
    for (const auto& [name, content] : files) {
      if (name.starts_with(prefix)) names += (names.empty() ? "" : " ") + name;
    }
    return names;
  }

  std::map<std::string, std::string> files;
  std::set<std::string> folders;
  std::set<std::string> heldOpen;
  std::string failsWhilePacked;
  std::string errors;
  int cabinetsWritten = 0;
};

const char* const kDirectives =
    ".Set CabinetNameTemplate=VoxtraInfo.cab\n.Set DiskDirectoryTemplate=.\n"
    "\"VoxtraSystemInfo.txt\"\n\"system_event_log.csv\" /optional=yes\n\"switchlog.txt\" /optional=yes\n";

// The folder as a run leaves it behind: an earlier cabinet, the stale
// pieces of a run that was ended, the directive file and the report.
FakeHost Folder() {
  FakeHost host;
  host.files = {{"voxtrainfo.ddf", kDirectives},   {"VoxtraSystemInfo.txt", "report"},
                {"system_event_log.csv", "log"},   {"switchlog.txt", "switch"},
                {"VoxtraInfo.cab", "last week's"}, {"VoxtraInfo.cab.part", "cut off"},
                {"VoxtraInfo.cab.part3", "FCI's"}, {"list.txt", "an earlier list"}};
  return host;
}

int RunIn(FakeHost& host, std::vector<std::string> arguments = {"/f", "voxtrainfo.ddf", "/l", "list.txt"}) {
  return RunCabmaker(arguments, host);
}

TEST(CabmakerRun, WritesUnderATemporaryNameAndPutsTheWholeCabinetInPlaceOfTheOldOne) {
  FakeHost host = Folder();
  ASSERT_EQ(RunIn(host), 0) << host.errors;
  EXPECT_EQ(host.files["VoxtraInfo.cab"], "CAB VoxtraSystemInfo.txt system_event_log.csv switchlog.txt");
  EXPECT_EQ(host.Named("VoxtraInfo.cab"), "VoxtraInfo.cab") << "the stale pieces and the temporaries are gone";
  EXPECT_EQ(host.files["list.txt"], "") << "a clean run writes an empty list";
  EXPECT_EQ(host.errors, "");
  EXPECT_TRUE(host.files.count("setup.rpt") > 0 && host.files.count("setup.inf") > 0);
}

TEST(CabmakerRun, LeftOutOptionalFilesGiveExit3AndALineEachInTheList) {
  FakeHost host = Folder();
  host.files.erase("switchlog.txt");
  host.failsWhilePacked = "system_event_log.csv";
  ASSERT_EQ(RunIn(host), 3) << host.errors;
  EXPECT_EQ(host.files["VoxtraInfo.cab"], "CAB VoxtraSystemInfo.txt");
  EXPECT_EQ(host.files["list.txt"], "switchlog.txt\tnot found\r\nsystem_event_log.csv\tit was deleted\r\n");
  EXPECT_EQ(host.errors,
            "cabmaker: optional \"switchlog.txt\" (voxtrainfo.ddf line 5) left out: not found\n"
            "cabmaker: optional \"system_event_log.csv\" (voxtrainfo.ddf line 4) left out: it was deleted\n");
  EXPECT_EQ(host.cabinetsWritten, 2);
  EXPECT_EQ(host.Named("VoxtraInfo.cab"), "VoxtraInfo.cab");
}

TEST(CabmakerRun, ListsAFileAsItsDirectiveLineNamesIt) {
  FakeHost host = Folder();
  host.files["voxtrainfo.ddf"] =
      ".Set DiskDirectoryTemplate=.\n.Set SourceDir=out\n\"out\\a.txt\"\n.Define L=b\n"
      "\"%L%\tc.txt\" /optional=yes\n";
  host.files["out\\out\\a.txt"] = "a";
  ASSERT_EQ(RunIn(host), 3) << host.errors;
  EXPECT_EQ(host.files["list.txt"], "b c.txt\tnot found\r\n");
}

TEST(CabmakerRun, WithoutACabinetTheEarlierOneStaysAndTheListSaysWhy) {
  const struct {
    const char* name;
    void (*change)(FakeHost&);
    const char* list;
    const char* lastError;
  } cases[] = {
      {"a required file is missing", [](FakeHost& h) { h.files.erase("VoxtraSystemInfo.txt"); },
       "\tcannot read \"VoxtraSystemInfo.txt\": not found\r\n", "cabmaker: no cabinet written\n"},
      {"a required file fails while packed", [](FakeHost& h) { h.failsWhilePacked = "VoxtraSystemInfo.txt"; },
       "\tcannot write \"VoxtraInfo.cab\": \"VoxtraSystemInfo.txt\": it was deleted\r\n",
       "cabmaker: cannot write \"VoxtraInfo.cab\": \"VoxtraSystemInfo.txt\": it was deleted; no cabinet written\n"},
      {"the old cabinet is held open", [](FakeHost& h) { h.heldOpen.insert("VoxtraInfo.cab"); },
       "\tcannot put the cabinet in place of \"VoxtraInfo.cab\" (it is being used by another process); the file of "
       "that name is left as it was\r\n",
       "cabmaker: cannot put the cabinet in place of \"VoxtraInfo.cab\" (it is being used by another process); the "
       "file of that name is left as it was; no cabinet written\n"},
      {"the cabinet is larger than MaxDiskSize",
       [](FakeHost& h) { h.files["voxtrainfo.ddf"] = std::string(kDirectives) + ".Set MaxDiskSize=10\n"; },
       "\tthe cabinet needs 59 bytes, more than MaxDiskSize (10): cabinets spanning several disks are not made "
       "(raise MaxDiskSize or set it to 0)\r\n",
       nullptr},
  };
  for (const auto& c : cases) {
    FakeHost host = Folder();
    c.change(host);
    EXPECT_EQ(RunIn(host), 1) << c.name;
    EXPECT_EQ(host.files["VoxtraInfo.cab"], "last week's") << c.name;
    EXPECT_EQ(host.Named("VoxtraInfo.cab"), "VoxtraInfo.cab") << c.name << ": temporaries left";
    if (c.list != nullptr) {
      EXPECT_EQ(host.files["list.txt"], c.list) << c.name;
    }
    EXPECT_TRUE(host.files["list.txt"].starts_with("\t")) << c.name;
    if (c.lastError != nullptr) {
      EXPECT_TRUE(host.errors.ends_with(c.lastError)) << c.name << "\n" << host.errors;
    }
  }
  // Before the directive file is read, the cabinet's name is not known:
  // nothing of it is touched.
  FakeHost host = Folder();
  host.files["voxtrainfo.ddf"] = ".Set Cabinet=off\n";
  EXPECT_EQ(RunIn(host), 1);
  EXPECT_EQ(host.files["list.txt"].substr(0, 17), "\tvoxtrainfo.ddf(1");
  EXPECT_EQ(host.Named("VoxtraInfo.cab"), "VoxtraInfo.cab VoxtraInfo.cab.part VoxtraInfo.cab.part3");
}

TEST(CabmakerRun, RefusesMoreFilesThanACabinetCanCount) {
  for (const int count : {65535, 65536}) {
    FakeHost host;
    std::string directives = ".Set CabinetNameTemplate=ServerImage.cab\n.Set DiskDirectoryTemplate=.\n";
    for (int i = 0; i < count; ++i) {
      const std::string name = "f" + std::to_string(i);
      directives += name + "\n";
      host.files[name] = "";
    }
    host.files["image.ddf"] = directives;
    const int code = RunIn(host, {"/f", "image.ddf"});
    if (count == 65535) {
      EXPECT_EQ(code, 0) << host.errors;
      EXPECT_EQ(host.files.count("ServerImage.cab"), 1u);
    } else {
      EXPECT_EQ(code, 1);
      EXPECT_EQ(host.errors,
                "cabmaker: 65536 files for one cabinet, more than the 65535 a cabinet can hold; no "
                "cabinet written\n");
      EXPECT_EQ(host.cabinetsWritten, 0);
      EXPECT_EQ(host.files.count("ServerImage.cab"), 0u);
    }
  }
}

TEST(CabmakerRun, TakesTheListSwitchInEitherPlaceAndRefusesAnythingElse) {
  const std::vector<std::string> good[] = {
      {"/f", "voxtrainfo.ddf", "/l", "list.txt"},
      {"-L", "list.txt", "-F", "voxtrainfo.ddf"},
      {"C:\\Program", "Files\\Fernwick\\cabmaker", "/f", "voxtrainfo.ddf", "/l", "list.txt"},
  };
  for (const auto& arguments : good) {
    FakeHost host = Folder();
    EXPECT_EQ(RunIn(host, arguments), 0) << arguments[0];
    EXPECT_EQ(host.files["list.txt"], "") << arguments[0];
  }
  const std::vector<std::string> bad[] = {
      {"/f", "voxtrainfo.ddf", "/l"},          {"/l", "list.txt"},
      {"/f", "a.ddf", "/f", "voxtrainfo.ddf"}, {"/f", "voxtrainfo.ddf", "/l", "a", "/l", "b"},
      {"/f", "voxtrainfo.ddf", "/x", "y"},     {}};
  for (const auto& arguments : bad) {
    FakeHost host = Folder();
    EXPECT_EQ(RunIn(host, arguments), 2);
    EXPECT_EQ(host.errors, "Usage: cabmaker /f DIRECTIVES.ddf [/l LISTFILE]\n");
    EXPECT_EQ(host.files["list.txt"], "an earlier list") << "bad arguments touch nothing";
    EXPECT_EQ(host.files["VoxtraInfo.cab"], "last week's");
  }
}

}  // namespace
}  // namespace fernwick::cabmaker
