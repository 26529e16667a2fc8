#pragma once
// Records what a gathering reads, so that it can be written out as a server
// image (docs/server-image.md) which replays the same report.
//
// Wrap the real platform bundle once, at start-up, and hand the wrapped
// bundle to the core instead of the real one:
//
//   recording::Recorder recorder(realPlatform);
//   shell::MainPresenter presenter(recorder.Platform(), view);
//
// Every service of recorder.Platform() passes each call through to the
// real service and notes the question and the answer, negative answers
// included; its `capture` member points at the recorder. Write To File
// calls `capture->WriteImage(folder)` to write the image, Go calls
// `capture->Restart()`. What the program's start-up read (everything noted
// before the first Restart) is kept across restarts, since a replay runs
// the start-up too. The recorder must outlive the bundle's users; the user
// interface and XML parser are the real ones, unrecorded.
#include <memory>
#include <string>

#include "platform/capture_store.h"
#include "platform/platform.h"

namespace fernwick::recording {

struct Capture;

class Recorder : public platform::CaptureStore {
 public:
  explicit Recorder(platform::Platform& real);
  ~Recorder() override;
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  // The recording bundle.
  platform::Platform& Platform();

  void Restart() override;
  // Writes the image through the real platform's file system; an empty text
  // when it was written, else why not (a full disk, a path too long, ...).
  std::string WriteImage(const std::string& folder) override;

 private:
  struct Services;

  platform::Platform& real_;
  std::unique_ptr<Capture> capture_;
  std::unique_ptr<Capture> startup_;  // what the start-up read, kept across restarts
  // The gathering as the first WriteImage since the last Restart wrote it:
  // a later Write To File packs the same image, not what packaging read.
  std::unique_ptr<Capture> written_;
  std::unique_ptr<Services> services_;
  std::unique_ptr<platform::Platform> platform_;
};

}  // namespace fernwick::recording
