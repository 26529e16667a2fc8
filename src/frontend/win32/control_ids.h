#pragma once
// Window class and control identifiers of the main window; the Wine test
// driver finds the controls by these.
#define FERNWICK_MAIN_CLASS "FernwickMainWindow"
#define FERNWICK_CONTROL_ID_BASE 1000
// Control identifier = base + the control's place in the tab order:
// 1000 txtSavePath, 1001 Label1, 1002 cmdBrowse, 1003 cmdWriteToFile,
// 1004 txtMain, 1005 cmdExit, 1006 cmdGoTorb, 1007 bufferTextMain.
