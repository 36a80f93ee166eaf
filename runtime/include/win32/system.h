// On Windows the win32/ headers are the system's own: this one includes them, once, with
// the settings the library is built with.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX  // std::min/std::max, not the macros
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <objbase.h>

// windowsx.h's macros that would rewrite member functions of the same names (CWnd's,
// the elements' canvas): the class library undefines them the same way.
#undef SubclassWindow
#undef SelectFont
#undef SelectPen
#undef SelectBrush
#undef SelectBitmap

// The tool-bar resource type, which the class library (not the system) defines.
#ifndef RT_TOOLBAR
#define RT_TOOLBAR MAKEINTRESOURCEW(241)
#endif
