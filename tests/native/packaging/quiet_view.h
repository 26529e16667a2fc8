#pragma once
// A main window nobody looks at: it keeps its texts and nothing else.
#include <optional>
#include <string>

#include "shell/main_presenter.h"

namespace fernwick::testing {

class QuietView : public shell::MainView {
 public:
  void SetText(shell::Control c, const std::string& text) override { texts[static_cast<std::size_t>(c)] = text; }
  std::string Text(shell::Control c) override { return texts[static_cast<std::size_t>(c)]; }
  void SetEnabled(shell::Control, bool) override {}
  void Place(shell::Control, const shell::TwipRect&) override {}
  void SetWindowSize(std::optional<int>, std::optional<int>) override {}
  std::string texts[8];
};

}  // namespace fernwick::testing
