// The GDI+ flat interface, without its namespace's Point and Rect (they would
// clash with the program's own).
#pragma once
#include <windows.h>
#include <gdiplus.h>

namespace Gdip = Gdiplus::DllExports;
