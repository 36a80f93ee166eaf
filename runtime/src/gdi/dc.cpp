// DC attributes, coordinate mapping (MM_TEXT only) and rectangular clipping.
//
// Index
//   1. Clip geometry helpers (EffectiveClip, ClipRect)
//   2. Attributes
//   3. Origins and coordinate conversion
//   4. Clipping API
//   5. Device capabilities
//
// The clip rectangle is kept in device coordinates, fixed with the origins in force
// when it was set, as Windows keeps its clip region. Clipping is one rectangle.
#include <algorithm>

#include "gdi_private.h"
#include "win32/runtime_ext.h"

namespace gdi {

bool ClipRect(RECT& rc, const RECT& clip) {
    if (rc.left > rc.right) std::swap(rc.left, rc.right);
    if (rc.top > rc.bottom) std::swap(rc.top, rc.bottom);
    rc.left = std::max(rc.left, clip.left);
    rc.top = std::max(rc.top, clip.top);
    rc.right = std::min(rc.right, clip.right);
    rc.bottom = std::min(rc.bottom, clip.bottom);
    return rc.left < rc.right && rc.top < rc.bottom;
}

bool ClipRect64(const Rect64& rc, const RECT& clip, RECT* out) {
    const int64_t l = std::max<int64_t>(rc.left, clip.left), t = std::max<int64_t>(rc.top, clip.top);
    const int64_t r = std::min<int64_t>(rc.right, clip.right), b = std::min<int64_t>(rc.bottom, clip.bottom);
    if (l >= r || t >= b) return false;
    *out = RECT{LONG(l), LONG(t), LONG(r), LONG(b)};  // inside clip, so it fits
    return true;
}

RECT EffectiveClip(DC* dc) {
    return EffectiveClip(dc, dc ? dc->SurfaceShape() : nullptr);
}

}  // namespace gdi

using namespace gdi;

namespace {

// Logical -> device with the DC's current origins, saturated to int.
POINT LogicalToDevice(const DC* dc, int64_t x, int64_t y) {
    return POINT{SaturateInt(x - dc->s.windowOrg.x + dc->s.viewportOrg.x),
                 SaturateInt(y - dc->s.windowOrg.y + dc->s.viewportOrg.y)};
}

RECT NormalizedDeviceRect(const DC* dc, int l, int t, int r, int b) {
    const POINT a = LogicalToDevice(dc, std::min(l, r), std::min(t, b));
    const POINT z = LogicalToDevice(dc, std::max(l, r), std::max(t, b));
    return RECT{a.x, a.y, z.x, z.y};
}

int RegionType(const RECT& rc) {
    return rc.left < rc.right && rc.top < rc.bottom ? SIMPLEREGION : NULLREGION;
}

template <class T>
T SetAttr(HDC hdc, T DCState::*field, T value, T failure) {
    DC* dc = Get<DC>(hdc);
    if (!dc) return failure;
    T old = dc->s.*field;
    dc->s.*field = value;
    return old;
}

template <class T>
T GetAttr(HDC hdc, T DCState::*field, T failure) {
    DC* dc = Get<DC>(hdc);
    return dc ? dc->s.*field : failure;
}

}  // namespace

// ---- 2. Attributes ------------------------------------------------------------------------
int SetBkMode(HDC hdc, int mode) {
    return mode == TRANSPARENT || mode == OPAQUE ? SetAttr(hdc, &DCState::bkMode, mode, 0) : 0;
}
int GetBkMode(HDC hdc) {
    return GetAttr(hdc, &DCState::bkMode, 0);
}
COLORREF SetBkColor(HDC hdc, COLORREF c) {
    return SetAttr(hdc, &DCState::bkColor, c, COLORREF(CLR_INVALID));
}
COLORREF GetBkColor(HDC hdc) {
    return GetAttr(hdc, &DCState::bkColor, COLORREF(CLR_INVALID));
}
COLORREF SetTextColor(HDC hdc, COLORREF c) {
    return SetAttr(hdc, &DCState::textColor, c, COLORREF(CLR_INVALID));
}
COLORREF GetTextColor(HDC hdc) {
    return GetAttr(hdc, &DCState::textColor, COLORREF(CLR_INVALID));
}
int SetStretchBltMode(HDC hdc, int mode) {
    return mode >= BLACKONWHITE && mode <= HALFTONE ? SetAttr(hdc, &DCState::stretchMode, mode, 0) : 0;
}
int GetStretchBltMode(HDC hdc) {
    return GetAttr(hdc, &DCState::stretchMode, 0);
}
int SetROP2(HDC hdc, int rop2) {
    return rop2 >= 1 && rop2 <= 16 ? SetAttr(hdc, &DCState::rop2, rop2, 0) : 0;
}
int GetROP2(HDC hdc) {
    return GetAttr(hdc, &DCState::rop2, 0);
}
COLORREF SetDCBrushColor(HDC hdc, COLORREF c) {
    return SetAttr(hdc, &DCState::dcBrushColor, c, COLORREF(CLR_INVALID));
}
COLORREF SetDCPenColor(HDC hdc, COLORREF c) {
    return SetAttr(hdc, &DCState::dcPenColor, c, COLORREF(CLR_INVALID));
}
int SetMapMode(HDC hdc, int mode) {
    return Get<DC>(hdc) && mode == MM_TEXT ? MM_TEXT : 0;
}  // MM_TEXT only
int GetMapMode(HDC hdc) {
    return Get<DC>(hdc) ? MM_TEXT : 0;
}
BOOL GdiFlush(void) {
    return TRUE;
}  // drawing is never batched

// ---- 3. Origins ---------------------------------------------------------------------------
namespace {

BOOL SetPoint(HDC hdc, POINT DCState::*field, int64_t x, int64_t y, bool relative, LPPOINT prev) {
    DC* dc = Get<DC>(hdc);
    if (!dc) return FALSE;
    POINT& p = dc->s.*field;
    if (prev) *prev = p;
    if (relative) x += p.x, y += p.y;
    p = POINT{SaturateInt(x), SaturateInt(y)};
    return TRUE;
}

BOOL GetPoint(HDC hdc, POINT DCState::*field, LPPOINT out) {
    DC* dc = Get<DC>(hdc);
    if (!dc || !out) return FALSE;
    *out = dc->s.*field;
    return TRUE;
}

}  // namespace

BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
    return SetPoint(hdc, &DCState::windowOrg, x, y, false, lppt);
}
BOOL GetWindowOrgEx(HDC hdc, LPPOINT lppoint) {
    return GetPoint(hdc, &DCState::windowOrg, lppoint);
}
BOOL OffsetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
    return SetPoint(hdc, &DCState::windowOrg, x, y, true, lppt);
}
BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
    return SetPoint(hdc, &DCState::viewportOrg, x, y, false, lppt);
}
BOOL GetViewportOrgEx(HDC hdc, LPPOINT lppoint) {
    return GetPoint(hdc, &DCState::viewportOrg, lppoint);
}
BOOL OffsetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
    return SetPoint(hdc, &DCState::viewportOrg, x, y, true, lppt);
}
BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
    return SetPoint(hdc, &DCState::brushOrg, x, y, false, lppt);
}
BOOL GetBrushOrgEx(HDC hdc, LPPOINT lppt) {
    return GetPoint(hdc, &DCState::brushOrg, lppt);
}
BOOL GetCurrentPositionEx(HDC hdc, LPPOINT lppt) {
    return GetPoint(hdc, &DCState::curPos, lppt);
}

BOOL DPtoLP(HDC hdc, LPPOINT lppt, int c) {
    DC* dc = Get<DC>(hdc);
    if (!dc || (c > 0 && !lppt)) return FALSE;
    for (int i = 0; i < c; ++i)
        lppt[i] = POINT{SaturateInt(int64_t(lppt[i].x) + dc->s.windowOrg.x - dc->s.viewportOrg.x),
                        SaturateInt(int64_t(lppt[i].y) + dc->s.windowOrg.y - dc->s.viewportOrg.y)};
    return TRUE;
}

// ---- 4. Clipping --------------------------------------------------------------------------
int SelectClipRgn(HDC hdc, HRGN hrgn) {
    DC* dc = Get<DC>(hdc);
    if (!dc) return ERROR;
    if (!hrgn) {
        dc->s.hasClip = false;
        return SIMPLEREGION;
    }
    Region* r = Get<Region>(hrgn);
    if (!r) return ERROR;
    dc->s.hasClip = true;
    dc->s.clip = r->rc;  // region coordinates are device coordinates
    return RegionType(r->rc);
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    DC* dc = Get<DC>(hdc);
    if (!dc) return ERROR;
    RECT rc = NormalizedDeviceRect(dc, left, top, right, bottom);
    if (dc->s.hasClip && !ClipRect(rc, dc->s.clip)) rc = RECT{0, 0, 0, 0};
    dc->s.hasClip = true;
    dc->s.clip = rc;
    return RegionType(rc);
}

int GetClipBox(HDC hdc, LPRECT lprect) {
    DC* dc = Get<DC>(hdc);
    if (!dc || !lprect) return ERROR;
    RECT rc = EffectiveClip(dc);
    if (IsRectEmpty(&rc)) {
        *lprect = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    const int64_t dx = int64_t(dc->s.windowOrg.x) - dc->s.viewportOrg.x - dc->dcOrg.x;
    const int64_t dy = int64_t(dc->s.windowOrg.y) - dc->s.viewportOrg.y - dc->dcOrg.y;
    *lprect = RECT{SaturateInt(rc.left + dx), SaturateInt(rc.top + dy), SaturateInt(rc.right + dx),
                   SaturateInt(rc.bottom + dy)};
    return SIMPLEREGION;
}

// ---- 5. Device capabilities -------------------------------------------------------------------
int GetDeviceCaps(HDC hdc, int index) {
    if (!Get<DC>(hdc)) return 0;
    switch (index) {
        case LOGPIXELSX:
        case LOGPIXELSY:
            return 96;
        case BITSPIXEL:
            return 32;  // the device's depth, also for memory DCs holding a mono bitmap
        case PLANES:
            return 1;
        case NUMCOLORS:
            return -1;  // more than 256 colours
        case HORZRES:
            return rt::GetScreenSize().cx;
        case VERTRES:
            return rt::GetScreenSize().cy;
        default:
            return 0;
    }
}
