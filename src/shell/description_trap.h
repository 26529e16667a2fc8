#pragma once
// The error trap of the About window's load and of the language loading:
// a failed statement shows prefix & the error's description, and the
// procedure goes on with its next statement.
#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include "common/message_boxes.h"
#include "common/runtime_error.h"

namespace fernwick::shell {

template <typename Statement>
void RunOrShowDescription(MessageBoxes& boxes, std::string_view prefix, Statement&& statement) {
  try {
    std::forward<Statement>(statement)();
  } catch (const std::exception& e) {
    boxes.Show(std::string(prefix) + AsRuntimeError(e).Description());
  }
}

}  // namespace fernwick::shell
