#pragma once
// The one run-time error type of the program. A failing statement throws it;
// the caller's guard turns it into a report line or a message box and goes on
// with the next statement.
#include <stdexcept>
#include <string>

namespace fernwick {

class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(long number, std::string description, std::string source = "Fernwick");

  long Number() const { return number_; }
  const std::string& Description() const { return description_; }
  const std::string& Source() const { return source_; }

 private:
  long number_;
  std::string description_;
  std::string source_;
};

// Error numbers as support engineers know them from the classic Windows
// scripting runtime, plus the few the program raises itself.
namespace err {
inline constexpr long kOutOfMemory = 7;
inline constexpr long kOverflow = 6;
inline constexpr long kSubscriptOutOfRange = 9;
inline constexpr long kTypeMismatch = 13;
inline constexpr long kInternalError = 51;
inline constexpr long kBadFileNameOrNumber = 52;
inline constexpr long kFileNotFound = 53;
inline constexpr long kPermissionDenied = 70;
inline constexpr long kPathNotFound = 76;
inline constexpr long kObjectVariableNotSet = 91;
inline constexpr long kInvalidUseOfNull = 94;
inline constexpr long kUnsupportedValueType = 1001;
inline constexpr long kNoCurrentRecord = 3021;
inline constexpr long kItemNotFound = 3265;
inline constexpr long kInvalidProcedureCall = 5;
inline constexpr long kDivisionByZero = 11;
inline constexpr long kInputPastEndOfFile = 62;
inline constexpr long kDiskNotReady = 71;
// Windows' WAIT_TIMEOUT: a started program outlived its time limit.
inline constexpr long kWaitTimedOut = 258;
// ODBC failures carry the driver's native error code when it gives one;
// this is the number used when it does not.
inline constexpr long kDatabaseError = -2147467259;
}  // namespace err

// The description the runtime gives for one of the numbers above.
std::string ErrorDescription(long number);

// Throws RuntimeError(number, ErrorDescription(number)).
[[noreturn]] void Raise(long number);

// Maps any exception escaping a statement to the program's error type.
RuntimeError AsRuntimeError(const std::exception& e);

}  // namespace fernwick
