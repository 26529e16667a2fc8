#pragma once
// The resize rules of the main window: controls keep their distance to the
// bottom and right edges. W and H are the window's outer size in twips.
#include <array>
#include <optional>

#include "shell/main_window_design.h"

namespace fernwick::shell {

// Below this outer size some control would get a negative width or height;
// the window refuses to be made smaller.
inline constexpr int kMinWindowWidthTwips = 1545;
inline constexpr int kMinWindowHeightTwips = 2295;

struct ControlPlacement {
  Control id;
  TwipRect rect;
};

struct MainWindowLayout {
  // Set when the window must be given a new size first.
  std::optional<int> newWidth;
  std::optional<int> newHeight;
  std::array<ControlPlacement, 7> controls;  // every visible control
};

MainWindowLayout LayoutForSize(int width, int height);

}  // namespace fernwick::shell
