#include "shell/main_window_layout.h"

#include <algorithm>
#include <stdexcept>

namespace fernwick::shell {

const ControlDesign& DesignOf(Control id) {
  for (const auto& design : kMainWindowControls) {
    if (design.id == id) return design;
  }
  throw std::logic_error("unknown control");
}

MainWindowLayout LayoutForSize(int width, int height) {
  MainWindowLayout layout{};
  if (width < 100) layout.newWidth = width = 100;
  if (height < 200) layout.newHeight = height = 200;
  // A window smaller than the controls need would give negative sizes and
  // positions; they stop at zero instead.
  const auto atLeastZero = [](int v) { return std::max(v, 0); };

  auto place = [](Control id) { return DesignOf(id).rect; };
  TwipRect txtMain = place(Control::txtMain);
  txtMain.height = atLeastZero(height - 2295);
  txtMain.width = atLeastZero(width - 165);
  TwipRect label = place(Control::Label1);
  label.top = atLeastZero(height - 2010);
  TwipRect savePath = place(Control::txtSavePath);
  savePath.top = atLeastZero(height - 1770);
  savePath.width = atLeastZero(width - 1545);
  TwipRect browse = place(Control::cmdBrowse);
  browse.left = atLeastZero(width - 1410);
  browse.top = atLeastZero(height - 1800);
  TwipRect writeToFile = place(Control::cmdWriteToFile);
  writeToFile.top = atLeastZero(height - 1140);
  TwipRect go = place(Control::cmdGoTorb);
  go.top = atLeastZero(height - 1140);
  TwipRect exitButton = place(Control::cmdExit);
  exitButton.top = writeToFile.top;
  exitButton.left = atLeastZero(width - 1200);

  layout.controls = {{{Control::txtMain, txtMain},
                      {Control::Label1, label},
                      {Control::txtSavePath, savePath},
                      {Control::cmdBrowse, browse},
                      {Control::cmdWriteToFile, writeToFile},
                      {Control::cmdGoTorb, go},
                      {Control::cmdExit, exitButton}}};
  return layout;
}

}  // namespace fernwick::shell
