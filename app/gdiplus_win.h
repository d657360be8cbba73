// The GDI+ flat interface, as the program uses it.
#pragma once
#include <windows.h>
#include <gdiplus.h>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;
