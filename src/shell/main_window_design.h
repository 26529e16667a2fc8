#pragma once
// The controls of the main window with their design-time values (positions
// in twips: left, top, width, height), in tab order.
#include <array>
#include <string_view>

namespace fernwick::shell {

enum class Control { txtSavePath, Label1, cmdBrowse, cmdWriteToFile, txtMain, cmdExit, cmdGoTorb, bufferTextMain };

enum class ControlKind { TextBox, MultiLineTextBox, Label, Button };

struct TwipRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const TwipRect&, const TwipRect&) = default;
};

struct ControlDesign {
  Control id;
  std::string_view name;
  ControlKind kind;
  std::string_view text;
  bool enabled;
  bool visible;
  TwipRect rect;
};

inline constexpr std::array<ControlDesign, 8> kMainWindowControls = {{
    {Control::txtSavePath,
     "txtSavePath",
     ControlKind::TextBox,
     "c:\\VoxtraSystemInfo.CAB",
     true,
     true,
     {60, 5130, 5055, 285}},
    {Control::Label1,
     "Label1",
     ControlKind::Label,
     "Select directory to save CAB file to:",
     true,
     true,
     {60, 4890, 2715, 210}},
    {Control::cmdBrowse, "cmdBrowse", ControlKind::Button, "Browse...", true, true, {5190, 5130, 1275, 315}},
    {Control::cmdWriteToFile,
     "cmdWriteToFile",
     ControlKind::Button,
     "Write To File",
     false,
     true,
     {1800, 5760, 1455, 435}},
    {Control::txtMain, "txtMain", ControlKind::MultiLineTextBox, "", true, true, {30, 90, 6435, 4605}},
    {Control::cmdExit, "cmdExit", ControlKind::Button, "Exit", true, true, {5400, 5760, 1065, 435}},
    {Control::cmdGoTorb, "cmdGoTorb", ControlKind::Button, "Go", true, true, {120, 5760, 1455, 435}},
    {Control::bufferTextMain,
     "bufferTextMain",
     ControlKind::TextBox,
     "bufferTextMain",
     true,
     false,
     {3120, 4800, 3000, 195}},
}};

const ControlDesign& DesignOf(Control id);

inline constexpr std::string_view kMainWindowCaption = "Fernwick";

// Menu commands; their numbers are the window's command identifiers.
enum class MenuCommand : int {
  mnuPasteToClipboard = 101,
  mnuExit = 102,
  mnuShowHelp = 201,
  mnuAbout = 202,
  mnuCheckForUpdatedVersion = 203,
};

}  // namespace fernwick::shell
