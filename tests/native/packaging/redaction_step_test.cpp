// Write To File's redaction step over the files of a work folder: a name is
// learned from every file, the event logs read in pieces, before any file
// is redacted.
#include "packaging/redaction_step.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "common/message_boxes.h"
#include "common/session.h"
#include "common/text.h"
#include "native/temp_image.h"

namespace fernwick::packaging {
namespace {

std::string Line(int second, const std::string& text) {
  return "12/06/2026,09:00:" + std::to_string(10 + second % 50) + ",Information,Voxtra Messaging,1000," + text + "\r\n";
}

TEST(RedactionStep, ANameOnlyALateLineOfABigLogRevealsIsGoneFromTheLogsFirstPiecesAndFromEveryFile) {
  testing::TempImage image;
  image.Registry("");
  image.Folder("drives/C/Out");
  auto& p = image.Open("Fernwick.exe silent redact").Platform();
  ASSERT_TRUE(p.files.WriteWholeFile("C:\\Out\\VoxtraSystemInfo.txt",
                                     "TORB Version = 2.0.4\r\n     Active Directory domain = CORP\r\n"
                                     "     Archive = FILESRV07 for mdavies\r\n\r\n"));
  // mdavies and FILESRV07 stand alone in the first line; only the last
  // lines, more than a 1 MB piece later, tell that they are a user of the
  // domain CORP and a server.
  std::string log = Line(0, "Mailbox of mdavies (MDavies) moved to filesrv07");
  for (int i = 1; log.size() < (3u << 20) / 2; ++i) log += Line(i, "Port " + std::to_string(i % 24) + " ready");
  log += Line(1, "Logon of CORP\\mdavies");
  log += Line(2, "Archive \\\\FILESRV07\\Voxtra written");
  ASSERT_TRUE(p.files.WriteWholeFile("C:\\Out\\application_event_log.csv", log));

  Session session;
  session.bSilentMode = true;
  MessageBoxes record(p.ui, session);
  ASSERT_TRUE(RedactPackageIfAsked(p, "C:\\Out\\", record));

  const std::string redactedLog = p.files.ReadWholeFile("C:\\Out\\application_event_log.csv").value_or("");
  const std::string report = p.files.ReadWholeFile("C:\\Out\\VoxtraSystemInfo.txt").value_or("");
  ASSERT_GT(redactedLog.size(), 1u << 20);
  for (const std::string& file : {redactedLog, report}) {
    EXPECT_FALSE(ContainsNoCase(file, "mdavies")) << file.substr(0, 200);
    EXPECT_FALSE(ContainsNoCase(file, "filesrv07")) << file.substr(0, 200);
  }
  EXPECT_EQ(redactedLog.substr(0, redactedLog.find("\r\n")),
            "12/06/2026,09:00:10,Information,Voxtra Messaging,1000,Mailbox of user01 (USER01) moved to host01");
  EXPECT_NE(report.find("Archive = HOST01 for user01"), std::string::npos) << report;
}

// A work folder with a report that names the server, its address and its
// domain, and a map of an earlier run.
struct Folder {
  explicit Folder(const std::string& report) {
    image.Registry("");
    image.Folder("drives/C/Out");
    p = &image.Open("Fernwick.exe silent redact").Platform();
    EXPECT_TRUE(p->files.WriteWholeFile("C:\\Out\\VoxtraSystemInfo.txt", report));
    EXPECT_TRUE(p->files.WriteWholeFile("C:\\Out\\RedactionMap.txt", kMap));
    session.bSilentMode = true;
    record.emplace(p->ui, session);
    record->KeepIn(p->files, "C:\\Out\\FernwickMessages.txt");
  }
  std::string Read(const std::string& name) { return p->files.ReadWholeFile("C:\\Out\\" + name).value_or(""); }

  static constexpr const char* kMap = "host\tVOXTRA09\tHOST01\r\n";
  testing::TempImage image;
  platform::Platform* p = nullptr;
  Session session;
  std::optional<MessageBoxes> record;
};

constexpr const char* kReport =
    "     Active Directory domain = CORP\r\n     Voxtra server name = VOXTRA01\r\n"
    "     IP Address = 10.20.1.11\r\n\r\n";

TEST(RedactionStep, WhatIsRecordedAfterTheRedactionIsWrittenRedactedAndTheNoteStatesTheCheck) {
  Folder folder(kReport);
  ASSERT_TRUE(RedactPackageIfAsked(*folder.p, "C:\\Out\\", *folder.record));
  // "/debug" records "holding" and cabmaker's lines after the step.
  folder.record->RecordNote("Login failed for user 'CORP\\svc-voxtra' on VOXTRA01 (10.20.1.11)");
  const std::string messages = folder.Read("FernwickMessages.txt");
  EXPECT_FALSE(ContainsNoCase(messages, "VOXTRA01")) << messages;
  EXPECT_FALSE(ContainsNoCase(messages, "CORP\\")) << messages;
  EXPECT_FALSE(ContainsNoCase(messages, "10.20.1.11")) << messages;
  EXPECT_NE(messages.find("Checked before packing: none of the map's "), std::string::npos) << messages;
  EXPECT_NE(folder.Read("RedactionMap.txt").find("VOXTRA01"), std::string::npos);
}

TEST(RedactionStep, AnOriginalTheCheckFindsMakesNoCabinetNamesItsKindAndFileAndLeavesTheMap) {
  // The address stands after a version word, where it is kept as a
  // version; it is an address of the server all the same.
  Folder folder(std::string(kReport) + "     SUW Version = 10.20.1.11\r\n");
  EXPECT_FALSE(RedactPackageIfAsked(*folder.p, "C:\\Out\\", *folder.record));
  const std::string messages = folder.Read("FernwickMessages.txt");
  EXPECT_NE(messages.find("VoxtraInfo.cab is not made: it cannot be redacted: the check of the redacted files found "
                          "an IPv4 address in VoxtraSystemInfo.txt"),
            std::string::npos)
      << messages;
  EXPECT_EQ(folder.Read("RedactionMap.txt"), Folder::kMap);
}

TEST(RedactionStep, AMapThatCannotBeWrittenMakesNoCabinet) {
  Folder folder(kReport);
  folder.p->files.RemoveFile("C:\\Out\\RedactionMap.txt", true);
  std::filesystem::create_directories(folder.image.Out() / "drives/C/Out/RedactionMap.txt");
  EXPECT_FALSE(RedactPackageIfAsked(*folder.p, "C:\\Out\\", *folder.record));
  EXPECT_NE(folder.Read("FernwickMessages.txt").find("cannot write the map C:\\Out\\RedactionMap.txt"),
            std::string::npos);
}

}  // namespace
}  // namespace fernwick::packaging
