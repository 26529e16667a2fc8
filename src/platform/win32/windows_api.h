#pragma once
// <windows.h> for the program's Windows code. Its MessageBox macro would
// rename the user-interface method of the same name, so it goes.
#include <windows.h>
#undef MessageBox
