// A batch file of the gathering that outlived its limit, or whose wait
// failed, replays from its capture as it ran: the same report, its error
// line included.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "native/odbc/scratch_folder.h"
#include "native/packaging/late_programs.h"
#include "native/packaging/quiet_view.h"
#include "platform/image/server_image.h"
#include "platform/recording/recorder.h"

namespace fernwick::recording {
namespace {

std::string Gather(platform::Platform& platform) {
  testing::QuietView view;
  shell::MainPresenter presenter(platform, view);
  EXPECT_EQ(presenter.FormLoad(), shell::StartupOutcome::ShowWindow);
  presenter.GoClick();
  return presenter.Buffer().Text();
}

struct LateBatch {
  std::string hung;
  std::uint32_t answer;
  bool endable;
  std::string reportLine;  // a line the report holds
  std::string answerLine;  // the line answers.txt holds for it
};

TEST(CapturedWaits, ALateBatchFileReplaysTheSameReport) {
  // As answers.txt writes the batch file's quoted command line.
  const std::string install = "\"C:\\\\Program Files\\\\Fernwick\\\\";
  const std::string late = " did not end within 180 seconds and ";
  for (const LateBatch& c : {
           LateBatch{"si.bat", platform::kWaitTimeout, true,
                     "(error):258 (si.bat" + late +
                         "was ended with the programs it started) in procedure GetSystemInfo of Form frmMain",
                     "wait\t" + install + "si.bat\"\t258\n"},
           LateBatch{"ipconfigdump.bat", platform::kWaitTimeout, false,
                     "(ipconfigdump.bat" + late + "could not be ended)",
                     "unended\t" + install + "ipconfigdump.bat\"\n"},
           LateBatch{"si.bat", platform::kWaitFailed, true, "System Uptime",
                     "wait\t" + install + "si.bat\"\t4294967295\n"},
       }) {
    testing::ScratchFolder scratch;
    image::ServerImage server(std::filesystem::path(FERNWICK_SOURCE_DIR) / "samples" / "exchange2003-42",
                              scratch.Path() / "out", "Fernwick.exe");
    auto& p = server.Platform();
    testing::Log log;
    testing::LatePrograms processes(p.process, log, c.hung, c.answer, c.endable);
    platform::Platform bundle{p.registry, p.files,    processes,     p.program,  p.ui,  p.clock,
                              p.database, p.versions, p.workstation, p.internet, p.xml, p.codePages};
    Recorder recorder(bundle);
    const std::string recorded = Gather(recorder.Platform());
    ASSERT_EQ(recorder.WriteImage("C:\\ServerImage\\"), "");
    const auto captured = server.Files().HostPath("C:\\ServerImage\\");
    ASSERT_TRUE(captured);
    std::ostringstream answers;
    answers << std::ifstream(*captured / "answers.txt", std::ios::binary).rdbuf();
    EXPECT_NE(answers.str().find(c.answerLine), std::string::npos) << c.answerLine;
    EXPECT_NE(recorded.find(c.reportLine), std::string::npos) << c.reportLine;
    image::ServerImage replay(*captured, scratch.Path() / "replay", "Fernwick.exe");
    EXPECT_EQ(Gather(replay.Platform()), recorded) << c.hung;
  }
}

}  // namespace
}  // namespace fernwick::recording
