// Window-system handles as the portable code sees them: opaque pointers it
// stores and passes on. In the Windows build these are exactly the handle
// types of <windows.h> (HWND is HWND__ *, HFONT is HFONT__ *, ...).
#pragma once

struct HWND__;
struct HFONT__;
struct HBITMAP__;
struct HDC__;
struct HBRUSH__;
struct HINSTANCE__;
