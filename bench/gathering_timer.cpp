#include "bench/gathering_timer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

#include "common/message_boxes.h"
#include "common/session.h"
#include "probes/file_version_info.h"
#include "probes/voxtra_version.h"
#include "report/gathering.h"
#include "report/report_buffer.h"
#include "report/report_sections.h"

namespace fernwick::bench {

std::vector<std::pair<std::string, double>> TimeGathering(platform::Platform& platform) {
  Session session;
  session.bSilentMode = true;
  report::ReportBuffer buffer;
  MessageBoxes messages(platform.ui, session);
  report::PromptCheckState promptCheck;
  promptCheck.iPromptListBudget = 30000;  // as start-up sets it
  report::Gathering g{platform, session, buffer, messages, promptCheck};
  probes::VoxtraVersion version(platform.registry, platform.files, messages);
  CFileVersionInfo fileVersion(platform.versions, platform.files);
  report::BackEnd backEnd;
  std::vector<std::pair<std::string, double>> times;
  const auto timed = [&](const std::string& name, const std::function<void()>& stretch) {
    const auto start = std::chrono::steady_clock::now();
    stretch();
    times.emplace_back(name,
                       std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  };
  timed("version and header", [&] {
    version.CurrentVersion = version.getVersion();
    report::WriteReportHeader(g);
  });
  timed("install information", [&] { report::WriteInstallInformation(g, version); });
  timed("security settings", [&] { report::WriteSecuritySettings(g, version); });
  timed("telephony settings", [&] { report::WriteTelephonySettings(g, version, fileVersion); });
  timed("language settings and prompt check", [&] { report::WriteLanguageSettings(g); });
  timed("environment (si.bat)", [&] { report::WriteEnvironmentInformation(g, backEnd); });
  timed("directory connectors", [&] { report::WriteDirectoryConnectorSettings(g, version, backEnd); });
  timed("messaging, SQL Server, Windows", [&] { report::WriteMessagingChecks(g, version, backEnd); });
  timed("statistics, licensing, IP (ipconfigdump.bat)", [&] { report::WriteDirectoryStatistics(g, version); });
  return times;
}

void PrintMedians(const std::string& title, const std::vector<std::vector<std::pair<std::string, double>>>& runs) {
  const auto median = [](std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
  };
  std::printf("%s, %zu runs, median wall time in ms\n", title.c_str(), runs.size());
  std::vector<double> totals;
  for (const auto& run : runs) {
    double total = 0;
    for (const auto& [name, ms] : run) total += ms;
    totals.push_back(total);
  }
  for (std::size_t i = 0; !runs.empty() && i < runs[0].size(); ++i) {
    std::vector<double> values;
    for (const auto& run : runs) values.push_back(run[i].second);
    std::printf("  %-46s %9.2f\n", runs[0][i].first.c_str(), median(values));
  }
  std::printf("  %-46s %9.2f\n", "whole gathering", median(totals));
}

}  // namespace fernwick::bench
