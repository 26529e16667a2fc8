#include "cabmaker/directive_file.h"

#include <gtest/gtest.h>

#include "cabmaker/cabinet_plan.h"

namespace fernwick::cabmaker {
namespace {

// Each parsed file summed up in one line: cabinet, disk folder, compress,
// limit, then folder|file>name|...
std::string Summary(const std::string& text) {
  const auto parsed = ParseDirectives(text);
  if (const auto* error = std::get_if<DirectiveError>(&parsed)) {
    return "error " + std::to_string(error->line) + ": " + error->message;
  }
  const auto& d = std::get<Directives>(parsed);
  std::string out = d.CabinetName() + " [" + d.DiskDirectory() + "] " + (d.compress ? "mszip" : "stored") + " " +
                    std::to_string(d.maxDiskSize) + " " + d.rptFileName + "," + d.infFileName;
  for (const auto& folder : d.folders) {
    out += " |";
    for (const auto& f : folder) {
      out += " " + f.source + ">" + f.destination + "@" + std::to_string(f.line) + (f.optional ? "?" : "");
    }
  }
  return out;
}

struct Case {
  const char* text;
  const char* summary;
};

TEST(DirectiveFile, ReadsTheLanguageOfTheShippedFiles) {
  const Case cases[] = {
      {"a.txt", "1.cab [disk1] mszip 0 setup.rpt,setup.inf | a.txt>a.txt@1"},
      {"; comment\r\n.Set CabinetNameTemplate=VoxtraInfo.cab\r\n.set diskdirectorytemplate=.\r\n"
       "\"Voxtra System Info.txt\"\r\n\"c:\\x\\b.csv\" \"log.csv\" /inf=no ; trailing comment\r\n",
       "VoxtraInfo.cab [] mszip 0 setup.rpt,setup.inf | Voxtra System Info.txt>Voxtra System Info.txt@4 "
       "c:\\x\\b.csv>log.csv@5"},
      {".Set Compress=off\n.Set MaxDiskSize=CDROM\n.Set RptFileName=\n.Set InfFileName=\"\"\na\n.New Folder\nb\nc",
       "1.cab [disk1] stored 681984000 , | a>a@5 | b>b@7 c>c@8"},
      {"a /OPTIONAL=yes\nb /optional=no\nc /Optional",
       "1.cab [disk1] mszip 0 setup.rpt,setup.inf | a>a@1? b>b@2 c>c@3?"},
      {".Set CompressionType=mszip\n.Set Cabinet=ON\n.Set MaxDiskSize=1440000\nx",
       "1.cab [disk1] mszip 1440000 "
       "setup.rpt,setup.inf | x>x@4"},
      {".Define Name=Voxtra\n.Set CabinetNameTemplate=%Name%Info.cab\n.Set SourceDir=C:\\in\n%Name%.txt 100%%.txt",
       "VoxtraInfo.cab [disk1] mszip 0 setup.rpt,setup.inf | C:\\in\\Voxtra.txt>100%.txt@4"},
      {"\"say \"\"hi\"\".txt\"", "1.cab [disk1] mszip 0 setup.rpt,setup.inf | say \"hi\".txt>say \"hi\".txt@1"},
      {".Option Explicit\n.Set Bogus=1\na", "error 2: unknown variable \"Bogus\" under .Option Explicit"},
      {".Set Bogus=1\na", "1.cab [disk1] mszip 0 setup.rpt,setup.inf | a>a@2"},
      {".Set CompressionType=LZX\na", "error 1: CompressionType LZX is not supported: use MSZIP"},
      {".Set Cabinet=off\na", "error 1: Cabinet=off (files copied loose) is not supported"},
      {".Set Compress=maybe", "error 1: Compress must be on or off, not \"maybe\""},
      {".Set MaxDiskSize=-1", "error 1: MaxDiskSize must be a number of bytes or a disk name, not \"-1\""},
      {".New Cabinet\na", "error 1: more than one cabinet is not supported"},
      {".Frobnicate", "error 1: unknown directive \".Frobnicate\""},
      {"\"open", "error 1: a quote is not closed"},
      {"a b c", "error 1: a file line holds a source and at most one name in the cabinet"},
      {"%Nothing%.txt", "error 1: variable \"Nothing\" is not defined"},
      {"; only comments\r\n\r\n", "error 0: no files to pack"},
      {"", "error 0: no files to pack"},
      {std::string("a\0b", 3).c_str(), "1.cab [disk1] mszip 0 setup.rpt,setup.inf | a>a@1"},
  };
  for (const Case& c : cases) EXPECT_EQ(Summary(c.text), c.summary) << c.text;
  EXPECT_EQ(Summary(std::string("a\n\0b", 4)), "error 2: the line holds a NUL character");
}

// Each plan summed up: folders "|"-separated, then the optional files left
// out, with a folder limit of 100 bytes and a cabinet limit of 200.
std::string PlanSummary(const char* text, const std::vector<std::uint64_t>& sizes) {
  std::string tooLarge;
  const auto plan = PlanCabinet(std::get<Directives>(ParseDirectives(text)), sizes, tooLarge, 100, 200);
  if (!tooLarge.empty()) return "too large: " + tooLarge + (plan.folders.empty() ? "" : " (but planned)");
  std::string out;
  for (const auto& folder : plan.folders) {
    out += "|";
    for (const auto& f : folder) out += " " + f.destination;
  }
  for (const auto& [file, reason] : plan.leftOut) out += "; without " + file.source + ": " + reason;
  return out;
}

TEST(CabinetPlan, SplitsFoldersAtTheLimitAndLeavesOutOptionalFilesWithoutRoom) {
  const char* const four = "a\nb /optional=yes\nc\n.New Folder\nd /optional=yes";
  const struct {
    const char* text;
    std::vector<std::uint64_t> sizes;
    const char* summary;
  } cases[] = {
      {four, {60, 50, 40, 10}, "| a| b c| d"},
      {four, {60, 101, 40, 10}, "| a c| d; without b: it is larger than one cabinet folder can hold (100 bytes)"},
      {four, {101, 1, 1, 1}, "too large: a"},
      // required a and c count first: 150, so b does not fit, d does
      {four, {90, 51, 60, 50}, "| a| c| d; without b: the cabinet would hold more than 200 bytes"},
      {four,
       {100, 50, 100, 1},
       "| a| c; without b: the cabinet would hold more than 200 bytes; "
       "without d: the cabinet would hold more than 200 bytes"},
      {"a /optional=yes\n.New Folder\nb /optional=yes",
       {300, 80},
       "| b; without a: it is larger than one cabinet "
       "folder can hold (100 bytes)"},
      {"a\nb", {150, 150}, "too large: a"},
      {"a\nb", {100, 100}, "| a| b"},
  };
  for (const auto& c : cases) EXPECT_EQ(PlanSummary(c.text, c.sizes), c.summary) << c.text;
}

TEST(CabinetPlan, LeavesOutAnOptionalFileThatFailsWhilePacked) {
  std::string tooLarge;
  auto plan = PlanCabinet(std::get<Directives>(ParseDirectives("a\n.New Folder\nb /optional=yes")), {1, 1}, tooLarge);
  EXPECT_FALSE(LeaveOutOptional(plan, "a"));
  const auto left = LeaveOutOptional(plan, "b");
  ASSERT_TRUE(left);
  EXPECT_EQ(left->line, 3);
  ASSERT_EQ(plan.folders.size(), 1u);
  EXPECT_FALSE(LeaveOutOptional(plan, "b"));
}

}  // namespace
}  // namespace fernwick::cabmaker
