// Every rule of the prompt check, on an in-memory prompt tree.
#include "report/prompt_set_verification.h"

#include <gtest/gtest.h>

#include <map>

#include "common/runtime_error.h"
#include "common/text.h"
#include "report/prompt_index_file.h"
#include "platform/no_window.h"

namespace fernwick::report {
namespace {

// Folders list their entries in the order added; names match without case.
class PromptTree : public platform::FileSystem {
 public:
  void AddFile(const std::string& path, std::string content = "RIFF") {
    const auto slash = path.rfind('\\');
    AddFolder(path.substr(0, slash));
    Entry(path.substr(0, slash)).files.push_back(path.substr(slash + 1));
    files_[ToUpper(path)] = std::move(content);
  }
  void AddFolder(const std::string& path) {
    if (folders_.count(ToUpper(path)) > 0) return;
    folders_[ToUpper(path)];
    const auto slash = path.rfind('\\');
    if (slash != std::string::npos && slash > 2) {
      AddFolder(path.substr(0, slash));
      Entry(path.substr(0, slash)).folders.push_back(path.substr(slash + 1));
    }
  }
  void AddIndex(const std::string& folder, const std::string& text) { AddFile(folder + "\\Prompt.ini", text); }

  bool FolderExists(const std::string& path) override { return folders_.count(ToUpper(path)) > 0; }
  bool FileExists(const std::string& path) override {
    ++existenceChecks;
    return files_.count(ToUpper(path)) > 0;
  }
  bool CreateFolder(const std::string&) override { return false; }
  std::vector<std::string> SubFolderNames(const std::string& path) override { return Entry(path).folders; }
  std::optional<std::string> FullPathName(const std::string& path) override { return path; }
  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    ++reads;
    const auto it = files_.find(ToUpper(path));
    if (it == files_.end()) return std::nullopt;
    return it->second;
  }
  bool WriteWholeFile(const std::string&, std::string_view) override { return false; }
  std::optional<platform::FolderListing> ListFolder(const std::string& path) override {
    if (!FolderExists(path)) return std::nullopt;
    return Entry(path);
  }
  std::optional<platform::LocalTime> FileLastModified(const std::string&) override { return std::nullopt; }
  std::optional<platform::DriveSpace> DriveSpaceOf(const std::string&) override { return std::nullopt; }

  int existenceChecks = 0;
  int reads = 0;

 private:
  platform::FolderListing& Entry(const std::string& path) { return folders_[ToUpper(path)]; }
  std::map<std::string, platform::FolderListing> folders_;
  std::map<std::string, std::string> files_;
};

class CountingWindow : public platform::NoWindow {
 public:
  void PumpMessages() override { ++pumped; }
  int pumped = 0;
};

const std::string kPrompts = "C:\\Voxtra\\Localize\\Prompts";

struct Check {
  PromptTree tree;
  CountingWindow window;
  PromptCheckState state = Fresh();

  static PromptCheckState Fresh() {
    PromptCheckState fresh;
    fresh.iPromptListBudget = 30000;
    return fresh;
  }

  std::string Run(const std::string& folder = kPrompts) {
    PromptSetCheck check(tree, window, state);
    return check.VerifyPromptSet(folder, "Prompt.ini").text;
  }
};

std::string Missing(const std::string& wavPath) {
  return "         " + wavPath + "\r\n";
}

TEST(PromptCheck, AllPromptsPresentIsAnEmptyBlock) {
  Check c;
  c.tree.AddIndex(kPrompts + "\\ENU", "[Hello]\r\n[Goodbye]\r\n[Menu]\r\n");
  for (const char* p : {"Hello", "Goodbye", "Menu"}) c.tree.AddFile(kPrompts + "\\ENU\\" + p + ".wav");
  EXPECT_EQ(c.Run(), "");
}

TEST(PromptCheck, OneMissingPromptIsOneLineWithItsFullPath) {
  Check c;
  c.tree.AddIndex(kPrompts + "\\ENU", "[Hello]\r\n[Goodbye]\r\n");
  c.tree.AddFile(kPrompts + "\\ENU\\Hello.wav");
  EXPECT_EQ(c.Run(), Missing(kPrompts + "\\ENU\\Goodbye.wav"));
}

TEST(PromptCheck, HeadersWithEqualsOrTextOnlyAreNoPromptsAndLeadingBlanksStayInTheName) {
  Check c;
  c.tree.AddIndex(
      kPrompts + "\\ENU",
      "; comment\r\n[Spoken] (TEXT ONLY)\r\n[Key=Value]\r\nName=[x]\r\n  [Indented]\r\nplain\r\n[Last]\r\n");
  EXPECT_EQ(c.Run(), Missing(kPrompts + "\\ENU\\ [Indented.wav") + Missing(kPrompts + "\\ENU\\Last.wav"));
}

TEST(PromptCheck, AnIndexFileThatReadsAsOneLineIsReadAgainAsUtf16) {
  Check c;
  std::string wide = "\xFF\xFE";
  for (char ch : std::string("[Bonjour]\r\n[Au revoir]\r\n")) wide += std::string{ch, '\0'};
  c.tree.AddIndex(kPrompts + "\\FRA", wide);
  c.tree.AddFile(kPrompts + "\\FRA\\Bonjour.wav");
  EXPECT_EQ(c.Run(), Missing(kPrompts + "\\FRA\\Au revoir.wav"));
}

TEST(PromptCheck, IndexFileNameMatchesWithoutCaseAndOtherFilesAreIgnored) {
  Check c;
  c.tree.AddFile(kPrompts + "\\ENU\\PROMPT.INI", "[Hello]\r\n");
  c.tree.AddFile(kPrompts + "\\ENU\\Prompt.bak", "[Old]\r\n");
  EXPECT_EQ(c.Run(), Missing(kPrompts + "\\ENU\\Hello.wav"));
}

TEST(PromptCheck, AnIndexFileWithoutPromptsStopsTheCheckOfTheFilesAfterIt) {
  Check c;
  c.tree.AddIndex(kPrompts + "\\A", "[MissingA]\r\n");
  c.tree.AddIndex(kPrompts + "\\B", "no sections\r\n");
  c.tree.AddIndex(kPrompts + "\\C", "[MissingC]\r\n");
  EXPECT_EQ(c.Run(), Missing(kPrompts + "\\A\\MissingA.wav"));
}

TEST(PromptCheck, EveryLevelChargesTheBudgetForEveryIndexFileFoundSoFar) {
  Check c;
  c.tree.AddIndex(kPrompts + "\\A", "[Gone]\r\n");
  c.tree.AddIndex(kPrompts + "\\B", "[Here]\r\n");
  c.tree.AddFile(kPrompts + "\\B\\Here.wav");
  const std::string line = "         " + kPrompts + "\\A\\Gone.wav";
  EXPECT_EQ(c.Run(), line + "\r\n");
  // Checked by the calls for A, for B and for the prompts folder itself.
  EXPECT_EQ(c.state.iPromptListBudget, 30000 - 3 * static_cast<int>(line.size()));
  // ... but each file was read and each WAV looked for once.
  EXPECT_EQ(c.tree.reads, 2);
  EXPECT_EQ(c.tree.existenceChecks, 2);
}

TEST(PromptCheck, TheBudgetCutsTheListOffAndStopsTheWalk) {
  Check c;
  c.tree.AddIndex(kPrompts + "\\A", "[One]\r\n[Two]\r\n[Three]\r\n");
  c.tree.AddIndex(kPrompts + "\\B", "[Four]\r\n");
  const std::string one = "         " + kPrompts + "\\A\\One.wav";
  c.state.iPromptListBudget = static_cast<std::int16_t>(one.size() + 10);
  const std::string cutOff = "        <more prompts are missing but are not displayed>\r\n";
  // The call for A runs out on its second line; the walk goes no further
  // and the prompts folder returns what its subfolders returned.
  EXPECT_EQ(c.Run(), one + "\r\n" + cutOff);
  EXPECT_EQ(c.state.strPromptIniList, std::vector<std::string>{kPrompts + "\\A\\Prompt.ini"});
  EXPECT_LT(c.state.iPromptListBudget, 0);
}

TEST(PromptCheck, ABudgetAtExactlyZeroCutsOneFileButGoesOnToTheNext) {
  Check c;
  c.tree.AddIndex(kPrompts, "[One]\r\n[Two]\r\n");
  c.tree.AddIndex(kPrompts + "\\B", "[Four]\r\n");
  const std::string one = "         " + kPrompts + "\\One.wav";
  c.state.iPromptListBudget = static_cast<std::int16_t>(one.size());
  const std::string cutOff = "        <more prompts are missing but are not displayed>\r\n";
  // The folder's own index file is found first, so the call for B checks it
  // first: One brings the budget to 0 (cut off, not below 0), then Four
  // takes it below 0 and cuts again.
  EXPECT_EQ(c.Run(), cutOff + cutOff);
}

TEST(PromptCheck, WalksAndYieldsInEnumerationOrder) {
  Check c;
  c.tree.AddIndex(kPrompts + "\\ENU", "[A]\r\n");
  c.tree.AddFile(kPrompts + "\\ENU\\readme.txt");
  c.tree.AddIndex(kPrompts + "\\DEU", "[B]\r\n");
  EXPECT_EQ(c.Run(), Missing(kPrompts + "\\ENU\\A.wav") + Missing(kPrompts + "\\DEU\\B.wav"));
  EXPECT_EQ(c.window.pumped, 2 + 3);  // before each of the two subfolders, after each of the three files
}

TEST(PromptCheck, ARootPathWithItsTrailingBackslashGivesSinglePathSeparators) {
  Check c;
  c.tree.AddIndex(kPrompts + "\\ENU", "[A]\r\n");
  EXPECT_EQ(c.Run("C:\\Voxtra\\\\Localize\\Prompts"), Missing(kPrompts + "\\ENU\\A.wav"));
}

TEST(PromptCheck, FailuresAbandonTheWholeWalk) {
  const struct {
    const char* what;
    std::string index;
    long error;
  } cases[] = {
      {"a header without its closing bracket", "[Fine]\r\n[Broken\r\n", err::kInvalidProcedureCall},
      {"a closing bracket first", "][x\r\n", err::kInvalidProcedureCall},
      {"an empty index file", "", err::kInputPastEndOfFile},
  };
  for (const auto& c : cases) {
    Check check;
    check.tree.AddIndex(kPrompts + "\\ENU", c.index);
    try {
      check.Run();
      ADD_FAILURE() << c.what << ": no error";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), c.error) << c.what;
    }
  }
  Check noFolder;
  EXPECT_THROW(noFolder.Run(), RuntimeError);
}

TEST(PromptIndexFile, SplitsAsTheClassicSplitDoes) {
  EXPECT_EQ(SplitAtCrLf(""), std::vector<std::string>{});
  EXPECT_EQ(SplitAtCrLf("a"), std::vector<std::string>{"a"});
  EXPECT_EQ(SplitAtCrLf("a\r\nb\r\n"), (std::vector<std::string>{"a", "b", ""}));
  EXPECT_EQ(SplitAtCrLf("a\nb\r"), std::vector<std::string>{"a\nb\r"});
  EXPECT_EQ(PromptNames({"[]", "[x]y]"}), (std::vector<std::string>{"", "x"}));
}

}  // namespace
}  // namespace fernwick::report
