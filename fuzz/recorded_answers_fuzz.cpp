// answers.txt of a server image, the answers a capture recorded (one answer
// per tab-separated line). Beyond "no crash": a malformed file is only ever
// a RecordedAnswersError naming its line, every line's fields survive
// being written and split again unchanged, and the answers about programs
// (starts, waits, ends) read back as the recorder writes them. The answers
// are held in at most three times the file's size beside it, and a ceiling's
// worth of registry answers.
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/image/recorded_answers.h"
#include "platform/recording/capture_lines.h"
#include "platform/recording/capture_texts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fernwick;
  using fuzz::Check;
  const std::string_view text = fuzz::AsText(data, size);
  fuzz::HoldsAtMost(size, 3, 16 << 20, [&] {
    try {
      image::ParseRecordedAnswers(text);
    } catch (const image::RecordedAnswersError&) {
    }
  });
  try {
    const image::RecordedAnswers answers = image::ParseRecordedAnswers(text);
    recording::Capture capture;
    capture.failedStarts = answers.failedStarts;
    capture.waits = answers.waits;
    capture.unended = answers.unended;
    const image::RecordedAnswers again = image::ParseRecordedAnswers(recording::AnswersText(capture));
    Check(
        again.failedStarts == answers.failedStarts && again.waits == answers.waits && again.unended == answers.unended,
        "the answers about programs read back as written");
  } catch (const image::RecordedAnswersError& e) {
    Check(std::string(e.what()).rfind("answers.txt:", 0) == 0, "the error names the line");
  }
  for (const recording::CaptureLine& line : recording::SplitCaptureLines(text)) {
    const auto again = recording::SplitCaptureLines(recording::JoinCaptureLine(line.fields));
    Check(again.size() == 1 && again[0].fields == line.fields, "fields are written and split again unchanged");
  }
  return 0;
}
