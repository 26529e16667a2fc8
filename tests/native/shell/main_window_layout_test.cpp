#include "shell/main_window_layout.h"

#include <gtest/gtest.h>

namespace fernwick::shell {
namespace {

TwipRect RectOf(const MainWindowLayout& layout, Control id) {
  for (const auto& p : layout.controls) {
    if (p.id == id) return p.rect;
  }
  ADD_FAILURE() << "control not placed";
  return {};
}

TEST(MainWindowLayout, TheDesignSizeGivesTheDesignPlaces) {
  const auto layout = LayoutForSize(6600, 6900);
  EXPECT_FALSE(layout.newWidth);
  EXPECT_FALSE(layout.newHeight);
  for (Control id : {Control::txtMain, Control::Label1, Control::txtSavePath, Control::cmdWriteToFile,
                     Control::cmdGoTorb, Control::cmdExit}) {
    EXPECT_EQ(RectOf(layout, id), DesignOf(id).rect) << DesignOf(id).name;
  }
  // The browse button's rule puts it 30 twips above its design top.
  EXPECT_EQ(RectOf(layout, Control::cmdBrowse), (TwipRect{5190, 5100, 1275, 315}));
}

TEST(MainWindowLayout, ControlsFollowTheBottomAndRightEdges) {
  const auto layout = LayoutForSize(9000, 8000);
  EXPECT_EQ(RectOf(layout, Control::txtMain), (TwipRect{30, 90, 8835, 5705}));
  EXPECT_EQ(RectOf(layout, Control::Label1), (TwipRect{60, 5990, 2715, 210}));
  EXPECT_EQ(RectOf(layout, Control::txtSavePath), (TwipRect{60, 6230, 7455, 285}));
  EXPECT_EQ(RectOf(layout, Control::cmdBrowse), (TwipRect{7590, 6200, 1275, 315}));
  EXPECT_EQ(RectOf(layout, Control::cmdWriteToFile), (TwipRect{1800, 6860, 1455, 435}));
  EXPECT_EQ(RectOf(layout, Control::cmdGoTorb), (TwipRect{120, 6860, 1455, 435}));
  EXPECT_EQ(RectOf(layout, Control::cmdExit), (TwipRect{7800, 6860, 1065, 435}));
}

TEST(MainWindowLayout, TooSmallWindowsGrowBackAndNoSizeGoesNegative) {
  const auto layout = LayoutForSize(40, 150);
  EXPECT_EQ(layout.newWidth, 100);
  EXPECT_EQ(layout.newHeight, 200);
  for (const auto& p : layout.controls) {
    EXPECT_GE(p.rect.width, 0) << DesignOf(p.id).name;
    EXPECT_GE(p.rect.height, 0) << DesignOf(p.id).name;
    EXPECT_GE(p.rect.left, 0) << DesignOf(p.id).name;
    EXPECT_GE(p.rect.top, 0) << DesignOf(p.id).name;
  }
  // At the window's minimum size every rule is still non-negative unclamped.
  const auto smallest = LayoutForSize(kMinWindowWidthTwips, kMinWindowHeightTwips);
  EXPECT_EQ(RectOf(smallest, Control::txtMain).height, 0);
  EXPECT_EQ(RectOf(smallest, Control::txtSavePath).width, 0);
  EXPECT_EQ(RectOf(smallest, Control::cmdBrowse).left, 135);
}

}  // namespace
}  // namespace fernwick::shell
