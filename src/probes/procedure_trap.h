#pragma once
// The error trap of a probe procedure that shows a message box and goes on
// with the next statement. Each statement that can fail runs through Run();
// a failed statement leaves whatever it was assigning as it was.
#include <exception>
#include <string>
#include <utility>

#include "common/message_boxes.h"
#include "common/not_in_capture.h"
#include "common/runtime_error.h"

namespace fernwick::probes {

class ProcedureTrap {
 public:
  // The message reads prefix & number & " (" & description & ")" & suffix,
  // for example "(error):" ... " in procedure getVersion of Module VoxtraVersion".
  ProcedureTrap(MessageBoxes& boxes, std::string prefix, std::string suffix)
      : boxes_(boxes), prefix_(std::move(prefix)), suffix_(std::move(suffix)) {}

  // Runs one statement; false when it failed (the message box was shown).
  template <typename Statement>
  bool Run(Statement&& statement) {
    try {
      std::forward<Statement>(statement)();
      return true;
    } catch (const NotInCapture&) {
      return false;  // no box: the report line written from it says so
    } catch (const std::exception& e) {
      Report(AsRuntimeError(e));
      return false;
    }
  }

  // The condition of an If. After a failing condition the procedure goes on
  // with the next statement, which is the first one inside the block.
  template <typename Condition>
  bool If(Condition&& condition) {
    bool result = true;
    Run([&] { result = std::forward<Condition>(condition)(); });
    return result;
  }

  void Report(const RuntimeError& error);

 private:
  MessageBoxes& boxes_;
  std::string prefix_;
  std::string suffix_;
};

}  // namespace fernwick::probes
