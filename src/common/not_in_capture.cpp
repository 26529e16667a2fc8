#include "common/not_in_capture.h"

namespace fernwick {
namespace {

thread_local int rechecking = 0;
thread_local bool unanswered = false;

}  // namespace

NotInCapture::NotInCapture(std::string question)
    : RuntimeError(err::kItemNotFound, "not in this capture: " + question), question_(std::move(question)) {
  unanswered = true;
}

RecheckScope::RecheckScope() {
  ++rechecking;
}

RecheckScope::~RecheckScope() {
  --rechecking;
  unanswered = false;
}

bool Rechecking() {
  return rechecking > 0;
}

bool TakeUnanswered() {
  const bool was = unanswered;
  unanswered = false;
  return was;
}

std::string NotInCaptureLine(const NotInCapture& e) {
  return std::string(kNotInCapture) + " " + e.Question();
}

}  // namespace fernwick
