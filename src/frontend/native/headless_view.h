#pragma once
// Stands in for the main window where the native command runs the
// presenter: the texts the presenter sets are kept, nothing is shown.
#include <cstddef>
#include <optional>
#include <string>

#include "shell/main_presenter.h"

namespace fernwick::native {

class HeadlessView : public shell::MainView {
 public:
  void SetText(shell::Control c, const std::string& text) override { texts_[Index(c)] = text; }
  std::string Text(shell::Control c) override { return texts_[Index(c)]; }
  void SetEnabled(shell::Control, bool) override {}
  void Place(shell::Control, const shell::TwipRect&) override {}
  void SetWindowSize(std::optional<int>, std::optional<int>) override {}

 private:
  static std::size_t Index(shell::Control c) { return static_cast<std::size_t>(c); }
  std::string texts_[8];
};

}  // namespace fernwick::native
