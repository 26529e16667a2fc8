#include "launch/command_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace fernwick::launch {
namespace {

// This table is the guard for the quoting of batch files, and no Wine test
// can be: Wine's cmd runs an unquoted "C:\Program Files (x86)\...\si.bat"
// as it is, while real cmd.exe strips the quotes Windows puts around the
// line and starts "C:\Program". So the table pins the lines, and
// `RealCmdCommand` plays cmd.exe's rule on them.

// What real cmd.exe runs when Windows starts `commandLine` naming a batch
// file: Windows hands it on as `cmd /c "<commandLine>"`, and cmd keeps the
// outer quotes only when they are the text's only two, enclose no special
// character and a blank; otherwise it strips the first and the last quote.
std::string RealCmdCommand(const std::string& commandLine) {
  const std::string text = "\"" + commandLine + "\"";
  const auto quotes = std::count(text.begin(), text.end(), '"');
  const std::string inner = text.substr(1, text.size() - 2);
  const bool special = inner.find_first_of("&<>()@^|") != std::string::npos;
  if (quotes == 2 && !special && inner.find(' ') != std::string::npos) return text;
  return inner;
}

// The words cmd.exe parses from a command: quoted stretches stay whole, and
// an unquoted & ( ) ends the word (cmd would read them as operators).
std::vector<std::string> CmdWords(const std::string& command) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false;
  bool any = false;
  for (char c : command) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (!quoted && (c == ' ' || c == '&' || c == '(' || c == ')' || c == '^' || c == '|' || c == '<' ||
                           c == '>' || c == '@')) {
      if (any) words.push_back(word);
      word.clear();
      any = false;
      if (c != ' ') words.push_back(std::string(1, c));
    } else {
      word += c;
      any = true;
    }
  }
  if (any) words.push_back(word);
  return words;
}

struct Folder {
  std::string folder;
  std::string siLine;
};

TEST(CommandLines, EveryBatchFilePathSurvivesRealCmdExe) {
  for (const Folder& c : {
           Folder{"C:\\Program Files\\Fernwick", "\"C:\\Program Files\\Fernwick\\si.bat\""},
           Folder{"C:\\Program Files (x86)\\Fernwick", "\"C:\\Program Files (x86)\\Fernwick\\si.bat\""},
           Folder{"C:\\a&b (c)\\out\\", "\"C:\\a&b (c)\\out\\si.bat\""},
           Folder{"\\\\srv\\share\\my out", "\"\\\\srv\\share\\my out\\si.bat\""},
       }) {
    EXPECT_EQ(BatchCommandLine(c.folder, "si.bat"), c.siLine);
    for (const char* batch : {"si.bat", "ipconfigdump.bat", "media.bat"}) {
      const std::string line = BatchCommandLine(c.folder, batch);
      EXPECT_EQ(CmdWords(RealCmdCommand(line)), std::vector<std::string>{PathIn(c.folder, batch)}) << line;
    }
    // A path argument stays one word too.
    const std::string withArgument = BatchCommandLine(c.folder, "media.bat", {PathIn(c.folder, "x.txt")});
    EXPECT_EQ(CmdWords(RealCmdCommand(withArgument)),
              (std::vector<std::string>{PathIn(c.folder, "media.bat"), PathIn(c.folder, "x.txt")}))
        << withArgument;
  }
}

TEST(CommandLines, TheOldUnquotedLineIsWhatRealCmdExeBreaks) {
  // Shows that the rule above catches the fault: cmd.exe strips the quotes
  // Windows added and splits the path at the blank and the parenthesis.
  const auto words = CmdWords(RealCmdCommand("C:\\Program Files (x86)\\Fernwick\\si.bat"));
  ASSERT_FALSE(words.empty());
  EXPECT_EQ(words.front(), "C:\\Program");
}

TEST(CommandLines, ProgramsGetAQuotedPathAndTheirOptionsAsGiven) {
  EXPECT_EQ(
      ProgramCommandLine("C:\\Program Files (x86)\\Fernwick", "dumpel",
                         "-d 5 -format dtTSIs -c -l system -f " + Quoted("C:\\a&b (c)\\out\\system_event_log.csv")),
      "\"C:\\Program Files (x86)\\Fernwick\\dumpel\" -d 5 -format dtTSIs -c -l system -f "
      "\"C:\\a&b (c)\\out\\system_event_log.csv\"");
  EXPECT_EQ(ProgramCommandLine("\\\\srv\\share\\my out\\", "cabmaker", "/f " + Quoted("\\\\srv\\share\\my out\\v.ddf")),
            "\"\\\\srv\\share\\my out\\cabmaker\" /f \"\\\\srv\\share\\my out\\v.ddf\"");
  // A trailing backslash would escape the closing quote for the program's runtime.
  EXPECT_EQ(Quoted("C:\\"), "\"C:\\\\\"");
}

}  // namespace
}  // namespace fernwick::launch
