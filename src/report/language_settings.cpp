#include "common/text.h"
#include "probes/registry_api.h"
#include "report/prompt_set_verification.h"
#include "report/report_guard.h"
#include "report/report_sections.h"

namespace fernwick::report {
namespace {

const std::string kSystemParameters = "SOFTWARE\\Tessaline\\SystemParameters\\1.0";

std::string ReadString(Gathering& g, const std::string& key, const std::string& value) {
  return probes::RegGetString(g.platform.registry, key, value);
}

void WritePrompts(Gathering& g) {
  if (g.session.bSkipPromptCheck) {
    g.buffer.AppendReportLine("     Prompts : Skipped due to CLI switch /skippromptcheck");
    return;
  }
  const std::string root = ReadString(g, "SOFTWARE\\Tessaline\\CommServer\\1.0", "Root Path");
  if (root.empty()) {
    g.buffer.AppendFindingLine(
        FindingId::PromptsRootUnknown,
        "     Prompts : *Error* Unable to determine commserver root from registry HKLM\\SW\\TL\\COMMSERVER\\10\\Root "
        "Path");
    return;
  }
  if (!g.platform.files.FolderExists(root)) {
    g.buffer.AppendFindingLine(
        FindingId::PromptsFolderMissing,
        "        Prompt Directory " + root + " does not exists according to HKLM/SW/TL/COMMSERVER/10/Root Path");
    return;
  }
  MarkedText missing;
  bool completed = false;
  ReportGuard guard(g.buffer);
  guard([&] {
    PromptSetCheck check(g.platform.files, g.platform.ui, g.promptCheck);
    missing = check.VerifyPromptSet(root + "\\Localize\\Prompts", "Prompt.ini");
    completed = true;
  });
  if (!completed) {
    // An abandoned walk has checked nothing: never report it as verified.
    g.buffer.AppendFindingLine(FindingId::PromptsCheckIncomplete,
                               "     Prompts : *Error* - the prompt check did not complete (see the error above)");
  } else if (missing.text.empty()) {
    g.buffer.AppendReportLine("     Prompts : Verified");
  } else {
    g.buffer.AppendMarkedLine(
        MarkedText(FindingId::PromptsMissing,
                   "     Prompts : *Warning* - The following are missing :" + std::string(kCrLf)) +
        missing);
  }
}

void WriteConversation(Gathering& g) {
  const std::string file = ReadString(g, "SOFTWARE\\Tessaline\\CDE\\1.0", "SoftKey Config File");
  if (file.size() <= 8) return;
  const std::string standard = "VoxtraKey.ini";
  const bool isStandard = file.size() >= standard.size() &&
                          EqualsNoCase(std::string_view(file).substr(file.size() - standard.size()), standard);
  g.buffer.AppendReportLine(isStandard ? "     Standard Voxtra conversation in use"
                                       : "     Optional conversation in use");
}

}  // namespace

void WriteLanguageSettings(Gathering& g) {
  ReportGuard guard(g.buffer);
  guard([&] {
    g.buffer.AppendReportLine("     TUI Languages loaded = " +
                              ReadString(g, kSystemParameters, "TUI Languages Loaded"));
  });
  guard([&] {
    g.buffer.AppendReportLine("     Default TUI Language = " +
                              ReadString(g, kSystemParameters, "TUI Language Default"));
  });
  guard([&] {
    g.buffer.AppendReportLine("     GUI Languages loaded = " +
                              ReadString(g, kSystemParameters, "GUI Languages Loaded"));
  });
  guard([&] {
    g.buffer.AppendReportLine("     Default GUI Language = " +
                              ReadString(g, kSystemParameters, "GUI Language Default"));
  });
  guard([&] { WritePrompts(g); });
  guard([&] {
    g.buffer.AppendReportLine("     Default TTS Language = " +
                              ReadString(g, kSystemParameters, "TTS Language Default"));
  });
  guard([&] {
    g.buffer.AppendReportLine("     TTS Default Engine = " +
                              ReadString(g, "SOFTWARE\\Tessaline\\TTS\\1.0\\Initialization", "DefaultProvider"));
  });
  guard([&] { WriteConversation(g); });
  g.buffer.AppendReportLine("");
}

}  // namespace fernwick::report
