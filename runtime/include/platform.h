// The one header element code includes: the Win32 API subset and the MFC/ATL classes
// of the portable runtime, as windows.h plus afxwin.h would give them.
#pragma once

#include "win32/windef.h"
#include "win32/wingdi.h"
#include "win32/winuser.h"
#include "win32/commctrl.h"
#include "win32/objbase.h"
#include "afx/afxwin.h"
