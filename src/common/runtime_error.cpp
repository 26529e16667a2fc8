#include "common/runtime_error.h"

#include <new>

namespace fernwick {

RuntimeError::RuntimeError(long number, std::string description, std::string source)
    : std::runtime_error(description),
      number_(number),
      description_(std::move(description)),
      source_(std::move(source)) {}

std::string ErrorDescription(long number) {
  switch (number) {
    case err::kOverflow: return "Overflow";
    case err::kOutOfMemory: return "Out of memory";
    case err::kSubscriptOutOfRange: return "Subscript out of range";
    case err::kTypeMismatch: return "Type mismatch";
    case err::kInternalError: return "Internal error";
    case err::kBadFileNameOrNumber: return "Bad file name or number";
    case err::kFileNotFound: return "File not found";
    case err::kPermissionDenied: return "Permission denied";
    case err::kPathNotFound: return "Path not found";
    case err::kObjectVariableNotSet: return "Object variable or With block variable not set";
    case err::kInvalidUseOfNull: return "Invalid use of Null";
    case err::kUnsupportedValueType: return "Unsupported value type";
    case err::kDatabaseError: return "Unspecified error";
    case err::kNoCurrentRecord:
      return "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a "
             "current record.";
    case err::kItemNotFound:
      return "Item cannot be found in the collection corresponding to the requested name or ordinal.";
    case err::kInvalidProcedureCall: return "Invalid procedure call or argument";
    case err::kDivisionByZero: return "Division by zero";
    case err::kInputPastEndOfFile: return "Input past end of file";
    case err::kDiskNotReady: return "Disk not ready";
    case err::kWaitTimedOut: return "The wait operation timed out.";
    default: return "Application-defined or object-defined error";
  }
}

void Raise(long number) {
  throw RuntimeError(number, ErrorDescription(number));
}

RuntimeError AsRuntimeError(const std::exception& e) {
  if (const auto* own = dynamic_cast<const RuntimeError*>(&e)) return *own;
  if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr) {
    return RuntimeError(err::kOutOfMemory, ErrorDescription(err::kOutOfMemory));
  }
  if (dynamic_cast<const std::out_of_range*>(&e) != nullptr) {
    return RuntimeError(err::kSubscriptOutOfRange, ErrorDescription(err::kSubscriptOutOfRange));
  }
  return RuntimeError(err::kInternalError, ErrorDescription(err::kInternalError));
}

}  // namespace fernwick
