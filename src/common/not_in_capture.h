#pragma once
// Re-checking a capture with today's rules: a newer Fernwick may ask what an
// older one never read. While a RecheckScope lives on a thread, such a
// question does not stop the replay there: it raises NotInCapture, a run-time
// error the report's guards take for what it is. A guard that catches it
// writes a line "(not in this capture) QUESTION" in place of what the
// statement would have written; a probe's trap shows no message box for it,
// and the next report line (written from what the probe could not read)
// ends with " (not in this capture)". Findings of such lines are "not
// evaluable". Outside a RecheckScope nothing changes: a replay stays exact.
#include <string>
#include <string_view>

#include "common/runtime_error.h"

namespace fernwick {

// The words that mark a line the capture could not answer.
inline constexpr std::string_view kNotInCapture = "(not in this capture)";

class NotInCapture : public RuntimeError {
 public:
  explicit NotInCapture(std::string question);
  const std::string& Question() const { return question_; }

 private:
  std::string question_;
};

// Re-checking on this thread while the object lives; scopes nest.
class RecheckScope {
 public:
  RecheckScope();
  ~RecheckScope();
  RecheckScope(const RecheckScope&) = delete;
  RecheckScope& operator=(const RecheckScope&) = delete;
};

bool Rechecking();

// Whether a question went unanswered since the last call, which forgets it.
bool TakeUnanswered();

// The report line a guard writes for a statement the capture could not answer.
std::string NotInCaptureLine(const NotInCapture& e);

}  // namespace fernwick
