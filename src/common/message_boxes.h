#pragma once
// Message boxes of the program, and the run's record of what went wrong. A
// silent run never waits for a person: there a box's text is recorded
// instead. Recorded texts, and the lines of lost parts (Write To File's
// error lines, programs that outlived their time limit), are written at once
// to "FernwickMessages.txt" in the work folder once the shell has named it.
#include <functional>
#include <string>
#include <vector>

#include "common/session.h"
#include "platform/file_system.h"
#include "platform/user_interface.h"

namespace fernwick {

inline constexpr const char* kProgramTitle = "Fernwick";
// The run's record, in the work folder and (from Write To File on) in the output folder.
inline constexpr const char* kMessagesFileName = "FernwickMessages.txt";

class MessageBoxes {
 public:
  MessageBoxes(platform::UserInterface& ui, const Session& session) : ui_(ui), session_(session) {}

  // Shows `text` with an OK button and the program title; returns the
  // button pressed (OK when recorded).
  int Show(const std::string& text);

  // A line for the record that no box shows; the run has lost a part of
  // what it should have gathered or packed.
  void RecordLostPart(const std::string& line);
  void MarkPartLost() { partLost_ = true; }
  // A line for the record about something that costs no part of the package.
  void RecordNote(const std::string& line) { Record(line); }
  bool PartLost() const { return partLost_; }

  // From now on the record is (re)written to `path` whenever it grows.
  void KeepIn(platform::FileSystem& files, std::string path);
  // Write To File starts a record of its own at `path`, where the directive
  // files pack it from: what the gathering recorded, and from now on what
  // this Write To File records; no line of an earlier Write To File. An
  // earlier file at `path` is replaced, or removed when there is nothing
  // to record.
  void StartPackagingRecord(platform::FileSystem& files, std::string path);

  // From now on the record is written with each line passed through
  // `redact`, the lines recorded so far included: a redacted package's
  // record never goes back to the plain names, whatever is recorded later.
  void RedactWith(std::function<std::string(const std::string&)> redact);

  const std::vector<std::string>& Recorded() const { return recorded_; }

 private:
  void Record(const std::string& line);
  void WriteRecord();

  platform::UserInterface& ui_;
  const Session& session_;
  std::vector<std::string> recorded_;
  bool partLost_ = false;
  // What the gathering recorded, kept when a Write To File starts again.
  bool packagingStarted_ = false;
  std::size_t gatheringLines_ = 0;
  bool gatheringLost_ = false;
  platform::FileSystem* files_ = nullptr;
  std::string path_;
  std::function<std::string(const std::string&)> redact_;
};

}  // namespace fernwick
