// Re-checking a capture that lacks an answer: each answer of each sample's
// capture deleted in turn and the capture gathered again with today's
// rules. The report may differ from the full one only where a line says
// "(not in this capture)" (the lines a cut statement did not write stand
// before such a line), no finding of the full report is then taken for
// gone (each one is present or not evaluable), and none is new. Answers whose deletion
// leaves no capture (a "samelisting" or "content" line naming the deleted
// one, a server connection's statements) are counted apart.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/not_in_capture.h"
#include "comparison/recheck_verdict.h"
#include "comparison/report_lines.h"
#include "frontend/native/comparison/image_replay.h"
#include "frontend/native/headless_view.h"
#include "frontend/native/packaging_programs/packaging_programs.h"
#include "frontend/native/recheck/cab_recheck.h"
#include "native/odbc/scratch_folder.h"
#include "platform/image/image_code_pages.h"
#include "platform/image/server_image.h"
#include "platform/recording/recorder.h"
#include "report/packed_report.h"
#include "shell/main_presenter.h"

namespace fernwick::native {
namespace {
namespace fs = std::filesystem;

// The sample gathered through the recorder, its capture written to `target`.
void Capture(const fs::path& sample, const fs::path& out, const fs::path& target) {
  fs::create_directories(out);
  image::ServerImage image(sample, out, "fernwick");
  AddPackagingPrograms(image);
  recording::Recorder recorder(image.Platform());
  HeadlessView view;
  shell::MainPresenter presenter(recorder.Platform(), view);
  ASSERT_EQ(presenter.FormLoad(), shell::StartupOutcome::ShowWindow);
  presenter.GoClick();
  const std::string folder = presenter.WorkFolder() + "\\ServerImage\\";
  ASSERT_EQ(recorder.WriteImage(folder), "");
  const auto written = image.Files().HostPath(folder);
  ASSERT_TRUE(written);
  fs::copy(*written, target, fs::copy_options::recursive);
}

std::vector<std::string> ReadLines(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Kind(const std::string& line) {
  return line.substr(0, line.find('\t'));
}

// The answers that can be deleted alone: a question with the lines that
// answer it.
std::vector<std::pair<std::size_t, std::size_t>> Answers(const std::vector<std::string>& lines) {
  std::vector<std::pair<std::size_t, std::size_t>> answers;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string kind = Kind(lines[i]);
    if (lines[i].empty() || lines[i][0] == ';' || kind == "columns" || kind == "row" || kind == "error" ||
        kind == "server" || kind == "execute") {
      continue;
    }
    std::size_t end = i + 1;
    while (end < lines.size() &&
           (Kind(lines[end]) == "columns" || Kind(lines[end]) == "row" || Kind(lines[end]) == "error")) {
      ++end;
    }
    answers.emplace_back(i, end);
  }
  return answers;
}

struct Rechecked {
  std::vector<std::string> lines;  // UTF-8
  std::vector<comparison::SideFinding> findings;
};

std::optional<Rechecked> Recheck(const fs::path& capture, const fs::path& out) {
  RecheckScope recheck;
  const ImageReplay replay = ReplayImage(capture, out);
  std::error_code ec;
  fs::remove_all(out, ec);
  if (!replay.report) return std::nullopt;
  image::ImageCodePages codePages(replay.report->CodePage());
  const report::PackedReport packed = report::CarryFindings(*replay.report, replay.report->Text());
  Rechecked result{{}, SideFindings(packed, codePages)};
  for (const auto& line : packed.lines) result.lines.push_back(*codePages.ToUtf8(line, replay.report->CodePage()));
  return result;
}

// Whether every line of `today` that the full report lacks, and every line
// of the full report `today` lacks, stands in a run of changed lines with
// a "(not in this capture)" line in it or right after it.
bool DiffersOnlyWhereUnanswered(const std::vector<std::string>& full, const std::vector<std::string>& today,
                                std::string& first) {
  // The common start and end; what lies between must hold a marked line.
  std::size_t head = 0;
  while (head < full.size() && head < today.size() && full[head] == today[head]) ++head;
  std::size_t tail = 0;
  while (tail < full.size() - head && tail < today.size() - head &&
         full[full.size() - 1 - tail] == today[today.size() - 1 - tail]) {
    ++tail;
  }
  if (head == full.size() && head == today.size()) return true;
  for (std::size_t i = head; i < today.size() - tail; ++i) {
    if (today[i].find(kNotInCapture) != std::string::npos) return true;
  }
  first = head < today.size() ? today[head] : "(the report ends)";
  return false;
}

TEST(RecheckAnswers, EachAnswerDeletedChangesOnlyItsLinesAndResolvesNothing) {
  const auto started = std::chrono::steady_clock::now();
  testing::ScratchFolder scratch;
  std::size_t answersDeleted = 0, leftNoCapture = 0;
  const char* stride = std::getenv("FERNWICK_RECHECK_EVERY");
  const std::size_t every =
      stride != nullptr && std::atoi(stride) > 0 ? static_cast<std::size_t>(std::atoi(stride)) : 16;
  for (const auto& entry : fs::directory_iterator(fs::path(FERNWICK_SOURCE_DIR) / "samples")) {
    const std::string sample = entry.path().filename().string();
    const fs::path capture = scratch.Path() / sample;
    Capture(entry.path(), scratch.Path() / "out" / sample, capture);
    const auto full = Recheck(capture, scratch.Path() / "replay");
    ASSERT_TRUE(full) << sample;
    const auto lines = ReadLines(capture / "answers.txt");
    const auto answers = Answers(lines);
    // Every 16th answer of each sample, spread over the file, keeps the run
    // short; FERNWICK_RECHECK_EVERY=1 deletes each answer in turn.
    for (std::size_t a = sample.size() % every; a < answers.size(); a += every) {
      const auto [begin, end] = answers[a];
      const fs::path cut = scratch.Path() / "cut";
      fs::remove_all(cut);
      fs::copy(capture, cut, fs::copy_options::recursive);
      {
        std::ofstream out(cut / "answers.txt", std::ios::binary | std::ios::trunc);
        for (std::size_t i = 0; i < lines.size(); ++i) {
          if (i < begin || i >= end) out << lines[i] << '\n';
        }
      }
      const auto today = Recheck(cut, scratch.Path() / "replay");
      if (!today) {
        ++leftNoCapture;
        continue;
      }
      ++answersDeleted;
      const std::string what = sample + ", answer deleted: " + lines[begin];
      std::string first;
      EXPECT_TRUE(DiffersOnlyWhereUnanswered(full->lines, today->lines, first)) << what << "\nfirst change: " << first;
      const auto verdict =
          comparison::RecheckFindings(full->findings, true, full->lines, today->findings, today->lines);
      for (const auto& missing : verdict.missing) {
        EXPECT_EQ(missing.status, comparison::RecheckStatus::NotEvaluable)
            << what << "\nfinding taken for gone: " << missing.finding.id << " " << missing.finding.evidence;
      }
      for (std::size_t i = 0; i < verdict.statuses.size(); ++i) {
        EXPECT_NE(verdict.statuses[i], comparison::RecheckStatus::NewSinceCab)
            << what << "\nfinding invented: " << today->findings[i].id << " " << today->findings[i].evidence;
      }
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("re-checked %zu captures each lacking one answer (%zu deletions left no capture) in %.1f s\n",
              answersDeleted, leftNoCapture, seconds);
  EXPECT_GT(answersDeleted * every, 500u);
}

}  // namespace
}  // namespace fernwick::native
