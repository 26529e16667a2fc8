#pragma once
// The ODBC headers, as both builds need them: Windows wants its own types
// declared first. Only the ODBC sources include this.
#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>
