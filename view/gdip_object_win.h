// GDI+ for the view: the flat interface without its namespace's Point and
// Rect (which would clash with the program's), and GdipObject, a GDI+ handle
// with the last failure a call on it returned.
#pragma once
#include <windows.h>
#include <gdiplus.h>

#include "view/view_state.h"

namespace Gdip = Gdiplus::DllExports;
using Gdiplus::ARGB;
using Gdiplus::GpGraphics;
using Gdiplus::GpPen;
using Gdiplus::GpStatus;

// Keeps a failing status in the wrapper; drawing goes on regardless.
inline void Gdip_Record(GdipObject *object, GpStatus status)
{
    if (status != Gdiplus::Ok)
        object->lastStatus = (int)status;
}
