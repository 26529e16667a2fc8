#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "servicelist/service_row.h"

namespace tabulex {
namespace {

ServiceFacts Spooler() {
  ServiceFacts facts;
  facts.serviceName = "Spooler";
  facts.displayName = "Print Spooler";
  facts.binaryPath = "C:\\windows\\system32\\spoolsv.exe";
  facts.account = "LocalSystem";
  facts.startType = 2;
  facts.currentState = 4;
  facts.processId = 1234;
  return facts;
}

TEST(CsvLines, HeaderHasTheSevenLabelsWithoutBlanksAroundCommasAndEndsInCrLf) {
  EXPECT_EQ(FormatHeader(),
            "ServiceName,DisplayName,Service Start Type,Service Status,Service Binary Path,Service Account,PID\r\n");
}

TEST(CsvLines, ServiceLineOrdersNameDisplayStartStateBinaryAccountPid) {
  EXPECT_EQ(FormatRow(MakeServiceRow(Spooler())),
            "Spooler,Print Spooler,Automatic,Running,C:\\windows\\system32\\spoolsv.exe,LocalSystem,1234\r\n");
}

TEST(CsvLines, CommaInDisplayNameIsWrittenUnchangedAndAddsOneField) {
  ServiceFacts facts = Spooler();
  facts.displayName = "A, B";
  std::string line = FormatRow(MakeServiceRow(facts));
  EXPECT_EQ(line, "Spooler,A, B,Automatic,Running,C:\\windows\\system32\\spoolsv.exe,LocalSystem,1234\r\n");
  auto commas = [](const std::string& text) { return std::count(text.begin(), text.end(), ','); };
  EXPECT_EQ(commas(line), commas(FormatHeader()) + 1);
}

TEST(CsvLines, QuotesAndBlanksInValuesAreNotEscaped) {
  ServiceFacts facts = Spooler();
  facts.binaryPath = "\"C:\\Program Files\\x.exe\" -k \"a b\"";
  EXPECT_EQ(FormatRow(MakeServiceRow(facts)),
            "Spooler,Print Spooler,Automatic,Running,\"C:\\Program Files\\x.exe\" -k \"a b\",LocalSystem,1234\r\n");
}

TEST(CsvLines, NullTextsFromTheServiceManagerBecomeEmptyFields) {
  ServiceFacts facts;
  facts.serviceName = "NoDisplay";
  facts.startType = 3;
  facts.currentState = 1;
  EXPECT_EQ(FormatRow(MakeServiceRow(facts)), "NoDisplay,,Manual,Stopped,,,0\r\n");
  EXPECT_EQ(FormatRow(MakeServiceRow(ServiceFacts{})), ",,Boot,Unknown Status,,,0\r\n");
}

TEST(CsvLines, ProcessIdIsASigned32BitDecimal) {
  ServiceFacts facts = Spooler();
  facts.processId = 0;
  EXPECT_EQ(MakeServiceRow(facts).processId, "0");
  facts.processId = 0x7FFFFFFFu;
  EXPECT_EQ(MakeServiceRow(facts).processId, "2147483647");
  facts.processId = 0x80000000u;
  EXPECT_EQ(MakeServiceRow(facts).processId, "-2147483648");
  facts.processId = 0xFFFFFFFFu;
  EXPECT_EQ(MakeServiceRow(facts).processId, "-1");
}

TEST(CsvLines, FreshRowSaysUnknownStartTypeAndUnknownStatus) {
  ServiceRow row;
  EXPECT_EQ(FormatRow(row), ",,Unknown,Unknown Status,,,\r\n");
}

TEST(StartTypeNames, EachStartTypeHasItsTextAndFiveAndAboveAreUnknown) {
  const char* expected[] = {"Boot", "System", "Automatic", "Manual", "Disabled", "Unknown", "Unknown", "Unknown"};
  for (std::uint32_t type = 0; type < 8; ++type) {
    EXPECT_EQ(StartTypeName(StartTypeIndex(type)), expected[type]) << type;
  }
  EXPECT_EQ(StartTypeIndex(0xFFFFFFFFu), 5);
  EXPECT_EQ(StartTypeName(StartTypeIndex(0xFFFFFFFFu)), "Unknown");
}

TEST(StateNames, EachStateCountedFromOneHasItsText) {
  const char* expected[] = {"Stopped", "StartPending", "StopPending", "Running", "ContinuePending", "PausePending"};
  for (std::uint32_t state = 1; state <= 6; ++state) {
    EXPECT_EQ(StateName(StateIndex(state)), expected[state - 1]) << state;
  }
}

TEST(StateNames, PausedHigherAndZeroStatesAreAllUnknownStatus) {
  EXPECT_EQ(StateName(StateIndex(7)), "Unknown Status");  // paused
  EXPECT_EQ(StateName(StateIndex(8)), "Unknown Status");
  EXPECT_EQ(StateName(StateIndex(0xFFFFFFFFu)), "Unknown Status");
  EXPECT_EQ(StateIndex(0xFFFFFFFFu), 7);
  EXPECT_EQ(StateName(StateIndex(0)), "Unknown Status");
}

}  // namespace
}  // namespace tabulex
