// The facts of a server image: registry values, files, dates, versions,
// database answers, and what changed between two images.
#include <gtest/gtest.h>

#include "comparison/image_facts.h"

namespace fernwick::comparison {
namespace {

using enum ImageFactKind;

std::string ValueOf(const ImageFacts& facts, ImageFactKind kind, const std::string& name) {
  for (const auto& [key, fact] : facts.Of(kind)) {
    if (fact.name == name) return fact.value;
  }
  return "(none)";
}

TEST(ImageFacts, RegistryExportsGiveEachValueWithItsDataAsWritten) {
  ImageFacts facts;
  ReadRegistryExport(
      "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\Tcpip\\Parameters]\r\n\"EnableRSS\"=dword:00000001\r\n"
      "@=\"default\"\r\n\"Quoted \\\"name\\\"\"=\"a\\\\b\"\r\n\"Long\"=hex(7):41,00,\\\r\n  42,00\r\n"
      "[HKEY_CLASSES_ROOT\\x]\r\n\"Cut\"=hex:01,\\",
      facts);
  EXPECT_EQ(ValueOf(facts, RegistryValue, "HKEY_LOCAL_MACHINE\\SYSTEM\\Tcpip\\Parameters\\EnableRSS"),
            "dword:00000001");
  EXPECT_EQ(ValueOf(facts, RegistryValue, "HKEY_LOCAL_MACHINE\\SYSTEM\\Tcpip\\Parameters\\(Default)"), "\"default\"");
  EXPECT_EQ(ValueOf(facts, RegistryValue, "HKEY_LOCAL_MACHINE\\SYSTEM\\Tcpip\\Parameters\\Quoted \"name\""),
            "\"a\\\\b\"");
  EXPECT_EQ(ValueOf(facts, RegistryValue, "HKEY_LOCAL_MACHINE\\SYSTEM\\Tcpip\\Parameters\\Long"), "hex(7):41,00,42,00");
  EXPECT_EQ(ValueOf(facts, RegistryValue, "HKEY_CLASSES_ROOT\\x\\Cut"), "hex:01,");
}

TEST(ImageFacts, AnswersGiveListedFilesAndDatabaseAnswers) {
  ImageFacts facts;
  ReadRecordedAnswers(
      "; a comment\n"
      "query\tDriver={SQL Server}\tSELECT Name FROM t\ncolumns\tName\nrow\tA\\tB\nrow\t\\N\n"
      "query\tDriver={SQL Server}\tSELECT Name FROM t\nerror\t17\tgone\n"
      "listing\tC:\\\\P\t2\ta.wav\tb.wav\tsub\nsamelisting\tC:\\\\Q\tC:\\\\P\nnofile\tC:\\\\x\n",
      facts);
  EXPECT_EQ(ValueOf(facts, DatabaseAnswer, "SELECT Name FROM t"), "columns | Name\nrow | A\tB\nrow | NULL");
  EXPECT_EQ(ValueOf(facts, DatabaseAnswer, "SELECT Name FROM t (2)"), "error | 17 | gone");
  EXPECT_EQ(facts.Of(File).size(), 4u);
  EXPECT_EQ(ValueOf(facts, File, "C:\\Q\\b.wav"), "");
  EXPECT_EQ(ValueOf(facts, File, "C:\\P\\sub"), "(none)");
}

TEST(ImageFacts, VersionsAndDates) {
  ImageFacts facts;
  ReadVersionStatements(
      "C:\\\\W\\\\MAPI32.dll\tfixed\tfeef04bd 00010000\n"
      "C:\\\\W\\\\MAPI32.dll\tstring\t\\\\StringFileInfo\\\\040904b0\\\\FileVersion\t1.0.2536.0\n"
      "C:\\\\W\\\\cdo.dll\tfixed\tfeef04bd 00060005\n",
      facts);
  EXPECT_EQ(ValueOf(facts, FileVersion, "C:\\W\\MAPI32.dll"), "1.0.2536.0");
  EXPECT_EQ(ValueOf(facts, FileVersion, "C:\\W\\cdo.dll"), "fixed feef04bd 00060005");
  ReadFileDates("[clock]\nNow=2026-12-07 10:15:42\n[file dates]\nC:\\x.sql = 2008-03-14 10:00:00\n", facts);
  EXPECT_EQ(ValueOf(facts, FileDate, "C:\\x.sql"), "2008-03-14 10:00:00");
  EXPECT_EQ(facts.Of(FileDate).size(), 1u);
}

TEST(ImageFacts, ChangesAreAddedRemovedOrChangedWithoutRegardToCase) {
  ImageFacts before, after;
  before.Add(RegistryValue, "HKLM\\A\\v", "dword:00000001");
  after.Add(RegistryValue, "hklm\\a\\V", "dword:00000000");
  before.Add(File, "C:\\same", "");
  after.Add(File, "c:\\SAME", "");
  after.Add(File, "C:\\new", "");
  before.Add(File, "C:\\gone", "");
  const auto changes = CompareImageFacts(before, after);
  ASSERT_EQ(changes.size(), 3u);
  EXPECT_EQ(changes[0].kind, RegistryValue);
  EXPECT_TRUE(changes[0].inOld && changes[0].inNew);
  EXPECT_EQ(changes[0].oldValue, "dword:00000001");
  EXPECT_EQ(changes[1].name, "C:\\gone");
  EXPECT_FALSE(changes[1].inNew);
  EXPECT_EQ(changes[2].name, "C:\\new");
  EXPECT_FALSE(changes[2].inOld);
  EXPECT_TRUE(CompareImageFacts(before, before).empty());
}

TEST(ImageFacts, AForgedListingRepeatedEndlesslyStopsAtTheBound) {
  std::string answers = "listing\tC:\\\\P\t2000";
  for (int i = 0; i < 2000; ++i) answers += "\tf" + std::to_string(i);
  answers += "\n";
  for (int i = 0; i < 400; ++i) answers += "samelisting\tC:\\\\Q" + std::to_string(i) + "\tC:\\\\P\n";
  ImageFacts facts;
  ReadRecordedAnswers(answers, facts);
  EXPECT_TRUE(facts.Cut());
  EXPECT_EQ(facts.Of(File).size(), ImageFacts::kMaxFactsPerKind);
}

}  // namespace
}  // namespace fernwick::comparison
