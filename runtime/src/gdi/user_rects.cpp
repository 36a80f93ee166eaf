// The USER side of drawing that lives with GDI: rectangle arithmetic, the classic
// system colour scheme and the system metrics.
#include <algorithm>
#include <cstring>

#include "gdi_private.h"
#include "win32/runtime_ext.h"

// ---- rectangles ----------------------------------------------------------------------------
BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom) {
    if (!lprc) return FALSE;
    *lprc = RECT{xLeft, yTop, xRight, yBottom};
    return TRUE;
}

BOOL SetRectEmpty(LPRECT lprc) {
    return SetRect(lprc, 0, 0, 0, 0);
}

BOOL CopyRect(LPRECT lprcDst, const RECT* lprcSrc) {
    if (!lprcDst || !lprcSrc) return FALSE;
    *lprcDst = *lprcSrc;
    return TRUE;
}

namespace {

// Wraps like the platform's 32-bit arithmetic, without signed overflow.
LONG Wrap(int64_t v) {
    return LONG(int32_t(uint32_t(uint64_t(v))));
}

}  // namespace

BOOL OffsetRect(LPRECT lprc, int dx, int dy) {
    if (!lprc) return FALSE;
    *lprc = RECT{Wrap(int64_t(lprc->left) + dx), Wrap(int64_t(lprc->top) + dy), Wrap(int64_t(lprc->right) + dx),
                 Wrap(int64_t(lprc->bottom) + dy)};
    return TRUE;
}

BOOL InflateRect(LPRECT lprc, int dx, int dy) {
    if (!lprc) return FALSE;
    *lprc = RECT{Wrap(int64_t(lprc->left) - dx), Wrap(int64_t(lprc->top) - dy), Wrap(int64_t(lprc->right) + dx),
                 Wrap(int64_t(lprc->bottom) + dy)};
    return TRUE;
}

BOOL IsRectEmpty(const RECT* lprc) {
    return !lprc || lprc->left >= lprc->right || lprc->top >= lprc->bottom;
}

BOOL IntersectRect(LPRECT lprcDst, const RECT* a, const RECT* b) {
    if (!lprcDst || !a || !b) return FALSE;
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(a) || IsRectEmpty(b) || IsRectEmpty(&r)) r = RECT{0, 0, 0, 0};
    *lprcDst = r;
    return !IsRectEmpty(&r);
}

BOOL UnionRect(LPRECT lprcDst, const RECT* a, const RECT* b) {
    if (!lprcDst || !a || !b) return FALSE;
    if (IsRectEmpty(a) && IsRectEmpty(b)) {
        *lprcDst = RECT{0, 0, 0, 0};
        return FALSE;
    }
    if (IsRectEmpty(a))
        *lprcDst = *b;
    else if (IsRectEmpty(b))
        *lprcDst = *a;
    else
        *lprcDst = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                        std::max(a->bottom, b->bottom)};
    return TRUE;
}

BOOL EqualRect(const RECT* a, const RECT* b) {
    return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

BOOL PtInRect(const RECT* lprc, POINT pt) {
    return lprc && pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top && pt.y < lprc->bottom;
}

// ---- system colours ----------------------------------------------------------------------------
namespace {

constexpr int kSysColors = COLOR_MENUBAR + 1;

// The classic Windows scheme.
constexpr COLORREF kClassic[kSysColors] = {
    RGB(212, 208, 200),  // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(10, 36, 106),    // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(212, 208, 200),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(212, 208, 200),  // COLOR_ACTIVEBORDER
    RGB(212, 208, 200),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(10, 36, 106),    // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(212, 208, 200),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),     // COLOR_3DDKSHADOW
    RGB(212, 208, 200),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(181, 181, 181),  // 25: alternate button face
    RGB(0, 0, 128),      // COLOR_HOTLIGHT
    RGB(166, 202, 240),  // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(10, 36, 106),    // COLOR_MENUHILIGHT
    RGB(212, 208, 200),  // COLOR_MENUBAR
};

}  // namespace

DWORD GetSysColor(int nIndex) {
    return nIndex >= 0 && nIndex < kSysColors ? kClassic[nIndex] : 0;
}

HBRUSH GetSysColorBrush(int nIndex) {
    static HBRUSH brushes[kSysColors] = {};  // stock objects of the platform, made on first use
    if (nIndex < 0 || nIndex >= kSysColors) return nullptr;
    if (!brushes[nIndex]) {
        auto b = std::make_unique<gdi::Brush>();
        b->stock = true;
        b->lb = LOGBRUSH{BS_SOLID, GetSysColor(nIndex), 0};
        b->sysColorIndex = nIndex;
        brushes[nIndex] = static_cast<HBRUSH>(gdi::Insert(std::move(b)));
    }
    return brushes[nIndex];
}

// ---- system metrics ------------------------------------------------------------------------------
int GetSystemMetrics(int nIndex) {
    switch (nIndex) {
        case SM_CXSCREEN:
            return rt::GetScreenSize().cx;
        case SM_CYSCREEN:
            return rt::GetScreenSize().cy;
        case SM_CXVSCROLL:  // the default scroll-bar size, 255 twips
        case SM_CYHSCROLL:
            return 17;
        case SM_CYCAPTION:
            return 19;
        case SM_CXBORDER:
        case SM_CYBORDER:
            return 1;
        case SM_CYMENU:
            return 19;
        case SM_CXMENUSIZE:  // menu bar buttons; a popup's separator is half as high
        case SM_CYMENUSIZE:
            return 18;
        case SM_CXEDGE:
        case SM_CYEDGE:
            return 2;
        case SM_CXMENUCHECK:
        case SM_CYMENUCHECK:
            return 13;
        default:
            return 0;
    }
}

BOOL SystemParametersInfoW(UINT uiAction, UINT, LPVOID pvParam, UINT) {
    auto* ncm = static_cast<NONCLIENTMETRICSW*>(pvParam);
    const UINT without_padding = sizeof(NONCLIENTMETRICSW) - sizeof(int);
    if (uiAction != SPI_GETNONCLIENTMETRICS || !ncm) return FALSE;
    if (ncm->cbSize != sizeof(NONCLIENTMETRICSW) && ncm->cbSize != without_padding) return FALSE;
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    NONCLIENTMETRICSW m{};
    m.cbSize = ncm->cbSize;
    m.iBorderWidth = GetSystemMetrics(SM_CXBORDER);
    m.iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    m.iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
    m.iCaptionWidth = m.iCaptionHeight = GetSystemMetrics(SM_CYCAPTION) - 1;  // the caption's buttons
    m.iSmCaptionWidth = m.iSmCaptionHeight = 15;
    m.iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
    m.iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
    m.lfCaptionFont = m.lfSmCaptionFont = m.lfMenuFont = m.lfStatusFont = m.lfMessageFont = font;
    std::memcpy(ncm, &m, ncm->cbSize);
    return TRUE;
}

LONG GetDialogBaseUnits() {
    HDC screen = GetDC(nullptr);
    const HGDIOBJ old_font = SelectObject(screen, GetStockObject(SYSTEM_FONT));
    LONG height = 0;
    const LONG width = GdiGetCharDimensions(screen, nullptr, &height);
    SelectObject(screen, old_font);
    ReleaseDC(nullptr, screen);
    return MAKELONG(width, height);
}
