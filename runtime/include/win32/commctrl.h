// The common-controls subset: image lists and the tool-bar control's button records.
#pragma once

#ifdef _WIN32
#include "system.h"
#else

#include "windef.h"
#include "wingdi.h"
#include "winuser.h"

// ---- image lists -----------------------------------------------------------------------------
// An image list is a row of equally sized images, each with an optional mask (ILC_MASK).
// Its handle is validated like every other: a destroyed list fails every call.
#define ILC_MASK 0x00000001
#define ILC_COLOR 0x00000000
#define ILC_COLORDDB 0x000000FE
#define ILC_COLOR4 0x00000004
#define ILC_COLOR8 0x00000008
#define ILC_COLOR16 0x00000010
#define ILC_COLOR24 0x00000018
#define ILC_COLOR32 0x00000020

#define ILD_NORMAL 0x00000000
#define ILD_TRANSPARENT 0x00000001
#define ILD_MASK 0x00000010
#define ILD_IMAGE 0x00000020
#define ILD_BLEND25 0x00000002
#define ILD_FOCUS ILD_BLEND25
#define ILD_BLEND50 0x00000004
#define ILD_SELECTED ILD_BLEND50
#define ILD_BLEND ILD_BLEND50

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow);
BOOL ImageList_Destroy(HIMAGELIST himl);
int ImageList_GetImageCount(HIMAGELIST himl);
BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT uNewCount);
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
// Adds the images of a bitmap as wide as a multiple of the image width; returns the
// index of the first, or -1.
int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask);
// Pixels of crMask become transparent (and black in the image, as the platform stores them).
int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask);
BOOL ImageList_Remove(HIMAGELIST himl, int i);  // -1 removes every image
COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk);
COLORREF ImageList_GetBkColor(HIMAGELIST himl);
// ILD_NORMAL draws masked pixels in the background colour (left alone while it is CLR_NONE);
// ILD_TRANSPARENT always leaves them; ILD_BLEND50 mixes the image half and half with
// COLOR_HIGHLIGHT, ILD_BLEND25 a quarter of it; ILD_MASK draws the mask (black where the
// image is opaque, white elsewhere).
BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle);
// A bitmap resource cut into images cx wide (crMask: CLR_NONE for no mask).
HIMAGELIST ImageList_LoadImageW(HINSTANCE hi, LPCWSTR lpbmp, int cx, int cGrow, COLORREF crMask, UINT uType,
                                UINT uFlags);
#define ImageList_LoadImage ImageList_LoadImageW
#define ImageList_LoadBitmap(hi, lpbmp, cx, cGrow, crMask) \
    ImageList_LoadImageW(hi, lpbmp, cx, cGrow, crMask, IMAGE_BITMAP, 0)

// ---- tool bars -------------------------------------------------------------------------------
#define TOOLBARCLASSNAMEW L"ToolbarWindow32"
#define TOOLBARCLASSNAME TOOLBARCLASSNAMEW

#define TBSTYLE_BUTTON 0x0000
#define TBSTYLE_SEP 0x0001
#define TBSTYLE_CHECK 0x0002
#define TBSTYLE_GROUP 0x0004
#define TBSTYLE_TOOLTIPS 0x0100
#define TBSTYLE_WRAPABLE 0x0200
#define TBSTYLE_FLAT 0x0800
#define TBSTYLE_LIST 0x1000
#define TBSTATE_CHECKED 0x01
#define TBSTATE_PRESSED 0x02
#define TBSTATE_ENABLED 0x04
#define TBSTATE_HIDDEN 0x08

typedef struct _TBBUTTON {
    int iBitmap;
    int idCommand;
    BYTE fsState;
    BYTE fsStyle;
    BYTE bReserved[6];  // padding on 64-bit builds
    DWORD_PTR dwData;
    INT_PTR iString;
} TBBUTTON, *PTBBUTTON, *LPTBBUTTON;
typedef const TBBUTTON* LPCTBBUTTON;

#define TB_DELETEBUTTON (WM_USER + 22)
#define TB_GETBUTTON (WM_USER + 23)       // wParam index, lParam TBBUTTON*: TRUE when there is one
#define TB_BUTTONCOUNT (WM_USER + 24)     // 0x418
#define TB_COMMANDTOINDEX (WM_USER + 25)  // -1 when no button has the id
#define TB_BUTTONSTRUCTSIZE (WM_USER + 30)
#define TB_SETBUTTONSIZE (WM_USER + 31)  // lParam MAKELONG(cx, cy)
#define TB_SETBITMAPSIZE (WM_USER + 32)  // lParam MAKELONG(cx, cy)
#define TB_GETBUTTONSIZE (WM_USER + 58)
#define TB_ADDBUTTONSW (WM_USER + 68)
#define TB_ADDBUTTONS TB_ADDBUTTONSW

#endif  // _WIN32
