// The event logs' counts per source and the service lists of two CABs.
#include <gtest/gtest.h>

#include "comparison/event_log_counts.h"
#include "comparison/service_changes.h"

namespace fernwick::comparison {
namespace {

TEST(EventLogCounts, ErrorsAndWarningsPerSourceAndTheSourcesNewInNew) {
  const std::string old =
      "12/05/2026,03:12:44,Error,Service Control Manager,7000,Voxtra Messaging %%2\r\n"
      "12/06/2026,22:01:09,Warning,Userenv,1054,\"Windows cannot obtain the domain controller name, \"\"CORP\"\".\"\r\n"
      "12/06/2026,22:01:10,Information,Userenv,1000,fine\r\n";
  const std::string now =
      "12/08/2026,03:12:44,Error,Service Control Manager,7000,Voxtra Messaging %%2\r\n"
      "12/08/2026,03:13:44,Error,Service Control Manager,7001,depends\r\n"
      "12/08/2026,22:01:09,Warning,Userenv,1054,\"Windows cannot obtain the domain controller name, \"\"CORP\"\".\"\r\n"
      "12/09/2026,01:00:00,Warning,\"Voxtra, Messaging\",2012,late\r\n"
      "short,line\r\n";
  const auto oldCounts = CountEventLog("system", old);
  const auto newCounts = CountEventLog("system", now);
  ASSERT_EQ(oldCounts.size(), 2u);
  EXPECT_EQ(oldCounts[0].source, "Service Control Manager");
  EXPECT_EQ(oldCounts[1].warnings, 1u);
  const auto changes = CompareEventLogs(oldCounts, newCounts);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].now.source, "Service Control Manager");
  EXPECT_EQ(changes[0].old.errors, 1u);
  EXPECT_EQ(changes[0].now.errors, 2u);
  EXPECT_FALSE(changes[0].newSource);
  EXPECT_EQ(changes[1].now.source, "Voxtra, Messaging");
  EXPECT_TRUE(changes[1].newSource);
  EXPECT_TRUE(CompareEventLogs(oldCounts, oldCounts).empty());
}

TEST(ServiceChanges, StartTypeStateAccountAndPathComparedByNameNotTheProcessId) {
  const std::string header =
      "ServiceName,DisplayName,Service Start Type,Service Status,Service Binary Path,Service Account,PID\r\n";
  const auto old =
      ReadServiceList(header +
                      "VoxtraMsg,Voxtra Messaging,Automatic,Running,C:\\V\\VoxMsg.exe,CORP\\voxsvc,1732\r\n"
                      "Gone,Gone,Manual,Stopped,C:\\g.exe,LocalSystem,0\r\n"
                      "Same,Same,Manual,Stopped,C:\\s.exe,LocalSystem,0\r\n");
  const auto now = ReadServiceList(header +
                                   "voxtramsg,Voxtra Messaging,Disabled,Stopped,C:\\V\\VoxMsg.exe,LocalSystem,0\r\n"
                                   "Same,Same,Manual,Stopped,C:\\s.exe,LocalSystem,4\r\n"
                                   "Added,\"A, B\",Manual,Stopped,C:\\a.exe,LocalSystem,0\r\n");
  ASSERT_TRUE(old && now);
  const auto changes = CompareServices(*old, *now);
  ASSERT_EQ(changes.size(), 3u);
  EXPECT_EQ(changes[0].name, "voxtramsg");
  EXPECT_EQ(changes[0].changes,
            (std::vector<std::string>{"start type: Automatic -> Disabled", "state: Running -> Stopped",
                                      "account: CORP\\voxsvc -> LocalSystem"}));
  EXPECT_TRUE(changes[1].added);
  EXPECT_EQ(changes[1].name, "Added");
  EXPECT_TRUE(changes[2].removed);
  EXPECT_EQ(ReadServiceList("Name,State\r\nx,y\r\n"), std::nullopt);
  // A forged list naming one service twice reads it once.
  const auto twice = ReadServiceList(header + "A,A,Manual,Running,a,b,1\r\na,A,Disabled,Stopped,a,b,1\r\n");
  ASSERT_TRUE(twice);
  EXPECT_EQ(twice->size(), 1u);
  EXPECT_TRUE(CompareServices(*twice, *twice).empty());
  EXPECT_EQ(ReadServiceList(""), std::nullopt);
}

}  // namespace
}  // namespace fernwick::comparison
