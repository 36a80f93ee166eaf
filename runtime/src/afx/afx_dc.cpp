// CDC: a device context wrapper. Output calls use m_hDC; queries use m_hAttribDC;
// attribute changes go to m_hDC too when the two differ (the value returned is the
// attribute DC's).
//
// Index
//   1. Handle and lifetime
//   2. Selection
//   3. Attributes
//   4. Coordinates and clipping
//   5. Rectangles, lines, pixels
//   6. Blits
//   7. Text and DrawState
#include <cwchar>

#include "afx_maps.h"
#include "win32/runtime_ext.h"
#include "text/fill_rects.h"

IMPLEMENT_DYNCREATE(CDC, CObject)

namespace {

// Applies a setter to the output DC (when distinct) and the attribute DC; returns the
// attribute DC's answer (the output DC's when there is no attribute DC).
template <class Result, class Setter>
Result SetOnBoth(const CDC& dc, Setter set) {
    Result result{};
    if (dc.m_hDC && dc.m_hDC != dc.m_hAttribDC) result = set(dc.m_hDC);
    if (dc.m_hAttribDC) result = set(dc.m_hAttribDC);
    return result;
}

HGDIOBJ SelectOnBoth(const CDC& dc, HGDIOBJ h) {
    return SetOnBoth<HGDIOBJ>(dc, [h](HDC hdc) { return ::SelectObject(hdc, h); });
}

template <class T>
HGDIOBJ HandleOf(const T* p) {
    return p ? p->m_hObject : nullptr;
}

}  // namespace

// ---- 1. Handle and lifetime ------------------------------------------------------------------
CDC::~CDC() {
    if (m_hDC) ::DeleteDC(Detach());
    if (m_bTemporary) afx_internal::DcForgetTemporary(this);
}

CDC* PASCAL CDC::FromHandle(HDC hDC) {
    return afx_internal::DcFromHandle(hDC);
}

BOOL CDC::Attach(HDC hDC) {
    ASSERT(m_hDC == nullptr);  // detach the previous handle first
    if (!hDC) return FALSE;
    m_hDC = hDC;
    SetAttribDC(hDC);
    afx_internal::DcAddPermanent(hDC, this);
    return TRUE;
}

HDC CDC::Detach() {
    HDC hDC = m_hDC;
    if (hDC) afx_internal::DcRemovePermanent(hDC, this);
    ReleaseAttribDC();
    ReleaseOutputDC();
    return hDC;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr));
}

BOOL CDC::DeleteDC() {
    if (!m_hDC) return FALSE;
    return ::DeleteDC(Detach());
}

int CDC::SaveDC() {
    int saved = 0;
    if (m_hAttribDC) saved = ::SaveDC(m_hAttribDC);
    // With two DCs only the most recent state (-1) can be restored on both.
    if (m_hDC && m_hDC != m_hAttribDC && ::SaveDC(m_hDC) != 0) saved = -1;
    return saved;
}

BOOL CDC::RestoreDC(int nSavedDC) {
    BOOL ok = TRUE;
    if (m_hDC && m_hDC != m_hAttribDC) ok = ::RestoreDC(m_hDC, nSavedDC);
    if (m_hAttribDC) ok = ::RestoreDC(m_hAttribDC, nSavedDC) && ok;
    return ok;
}

int CDC::GetDeviceCaps(int nIndex) const {
    return ::GetDeviceCaps(m_hAttribDC, nIndex);
}

// ---- 2. Selection --------------------------------------------------------------------------------
CPen* CDC::SelectObject(CPen* pPen) {
    return CPen::FromHandle(static_cast<HPEN>(SelectOnBoth(*this, HandleOf(pPen))));
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
    return CBrush::FromHandle(static_cast<HBRUSH>(SelectOnBoth(*this, HandleOf(pBrush))));
}

CFont* CDC::SelectObject(CFont* pFont) {
    return CFont::FromHandle(static_cast<HFONT>(SelectOnBoth(*this, HandleOf(pFont))));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    // A bitmap can sit in one DC only: the output DC.
    return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, HandleOf(pBitmap))));
}

int CDC::SelectObject(CRgn* pRgn) {
    return SelectClipRgn(pRgn);
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
    return CGdiObject::FromHandle(SelectOnBoth(*this, HandleOf(pObject)));
}

CGdiObject* CDC::SelectStockObject(int nIndex) {
    return CGdiObject::FromHandle(SelectOnBoth(*this, ::GetStockObject(nIndex)));
}

CPen* CDC::GetCurrentPen() const {
    return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN)));
}

CBrush* CDC::GetCurrentBrush() const {
    return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}

CFont* CDC::GetCurrentFont() const {
    return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}

CBitmap* CDC::GetCurrentBitmap() const {
    return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

// ---- 3. Attributes -----------------------------------------------------------------------------------
COLORREF CDC::SetBkColor(COLORREF crColor) {
    return SetOnBoth<COLORREF>(*this, [=](HDC h) { return ::SetBkColor(h, crColor); });
}
COLORREF CDC::GetBkColor() const {
    return ::GetBkColor(m_hAttribDC);
}

int CDC::SetBkMode(int nBkMode) {
    return SetOnBoth<int>(*this, [=](HDC h) { return ::SetBkMode(h, nBkMode); });
}
int CDC::GetBkMode() const {
    return ::GetBkMode(m_hAttribDC);
}

COLORREF CDC::SetTextColor(COLORREF crColor) {
    return SetOnBoth<COLORREF>(*this, [=](HDC h) { return ::SetTextColor(h, crColor); });
}
COLORREF CDC::GetTextColor() const {
    return ::GetTextColor(m_hAttribDC);
}

int CDC::SetStretchBltMode(int nStretchMode) {
    return SetOnBoth<int>(*this, [=](HDC h) { return ::SetStretchBltMode(h, nStretchMode); });
}
int CDC::GetStretchBltMode() const {
    return ::GetStretchBltMode(m_hAttribDC);
}

int CDC::SetROP2(int nDrawMode) {
    return SetOnBoth<int>(*this, [=](HDC h) { return ::SetROP2(h, nDrawMode); });
}
int CDC::GetROP2() const {
    return ::GetROP2(m_hAttribDC);
}

int CDC::SetMapMode(int nMapMode) {
    return SetOnBoth<int>(*this, [=](HDC h) { return ::SetMapMode(h, nMapMode); });
}
int CDC::GetMapMode() const {
    return ::GetMapMode(m_hAttribDC);
}

CPoint CDC::SetBrushOrg(int x, int y) {
    CPoint old;
    ::SetBrushOrgEx(m_hDC, x, y, &old);
    return old;
}

// ---- 4. Coordinates and clipping ------------------------------------------------------------------------
CPoint CDC::SetWindowOrg(int x, int y) {
    CPoint old;
    SetOnBoth<BOOL>(*this, [&](HDC h) { return ::SetWindowOrgEx(h, x, y, &old); });
    return old;
}

CPoint CDC::GetWindowOrg() const {
    CPoint org;
    ::GetWindowOrgEx(m_hAttribDC, &org);
    return org;
}

CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight) {
    CPoint old;
    SetOnBoth<BOOL>(*this, [&](HDC h) { return ::OffsetWindowOrgEx(h, nWidth, nHeight, &old); });
    return old;
}

CPoint CDC::SetViewportOrg(int x, int y) {
    CPoint old;
    SetOnBoth<BOOL>(*this, [&](HDC h) { return ::SetViewportOrgEx(h, x, y, &old); });
    return old;
}

CPoint CDC::GetViewportOrg() const {
    CPoint org;
    ::GetViewportOrgEx(m_hAttribDC, &org);
    return org;
}

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) {
    CPoint old;
    SetOnBoth<BOOL>(*this, [&](HDC h) { return ::OffsetViewportOrgEx(h, nWidth, nHeight, &old); });
    return old;
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) {
    return SetOnBoth<int>(*this, [=](HDC h) { return ::IntersectClipRect(h, x1, y1, x2, y2); });
}

int CDC::SelectClipRgn(CRgn* pRgn) {
    HRGN hRgn = static_cast<HRGN>(HandleOf(pRgn));
    return SetOnBoth<int>(*this, [=](HDC h) { return ::SelectClipRgn(h, hRgn); });
}

int CDC::GetClipBox(LPRECT lpRect) const {
    return ::GetClipBox(m_hDC, lpRect);
}

// ---- 5. Rectangles, lines, pixels ---------------------------------------------------------------------------
void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    // SetBkColor and a glyph-less ExtTextOut, in one call to the DC.
    if (text::FillSolidRects(m_hDC, lpRect, 1, clr)) return;
    ::SetBkColor(m_hDC, clr);
    ::ExtTextOut(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    const RECT fill_rect{x, y, x + cx, y + cy};
    if (text::FillSolidRects(m_hDC, &fill_rect, 1, clr)) return;
    FillSolidRect(&fill_rect, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
               clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    // The four FillSolidRect calls below as one call to the DC per colour (one for a
    // single-coloured frame): the same rectangles in the same order, the background
    // colour left at clrBottomRight.
    const RECT edges[4] = {{x, y, x + cx - 1, y + 1},
                           {x, y, x + 1, y + cy - 1},
                           {x + cx, y, x + cx - 1, y + cy},
                           {x, y + cy, x + cx, y + cy - 1}};
    if (clrTopLeft == clrBottomRight ? text::FillSolidRects(m_hDC, edges, 4, clrTopLeft)
                                     : text::FillSolidRects(m_hDC, edges, 2, clrTopLeft) &&
                                           text::FillSolidRects(m_hDC, edges + 2, 2, clrBottomRight))
        return;
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);        // top, short of the top-right corner
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);        // left, short of the bottom-left corner
    FillSolidRect(x + cx, y, -1, cy, clrBottomRight);  // right: the column left of x + cx
    FillSolidRect(x, y + cy, cx, -1, clrBottomRight);  // bottom: the row above y + cy
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) {
    ::FillRect(m_hDC, lpRect, static_cast<HBRUSH>(HandleOf(pBrush)));
}

void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush) {
    ::FrameRect(m_hDC, lpRect, static_cast<HBRUSH>(HandleOf(pBrush)));
}

void CDC::DrawFocusRect(LPCRECT lpRect) {
    ::DrawFocusRect(m_hDC, lpRect);
}

BOOL CDC::DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) {
    return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags);
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) {
    return ::Rectangle(m_hDC, x1, y1, x2, y2);
}

CPoint CDC::MoveTo(int x, int y) {
    CPoint old;
    SetOnBoth<BOOL>(*this, [&](HDC h) { return ::MoveToEx(h, x, y, &old); });
    return old;
}

BOOL CDC::LineTo(int x, int y) {
    // The attribute DC keeps the current position in step.
    if (m_hAttribDC && m_hAttribDC != m_hDC) ::MoveToEx(m_hAttribDC, x, y, nullptr);
    return ::LineTo(m_hDC, x, y);
}

CPoint CDC::GetCurrentPosition() const {
    CPoint pos;
    ::GetCurrentPositionEx(m_hAttribDC, &pos);
    return pos;
}

BOOL CDC::Polyline(const POINT* lpPoints, int nCount) {
    return ::Polyline(m_hDC, lpPoints, nCount);
}

COLORREF CDC::GetPixel(int x, int y) const {
    return ::GetPixel(m_hDC, x, y);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF crColor) {
    return ::SetPixel(m_hDC, x, y, crColor);
}

BOOL CDC::SetPixelV(int x, int y, COLORREF crColor) {
    return ::SetPixelV(m_hDC, x, y, crColor);
}

// ---- 6. Blits --------------------------------------------------------------------------------------------------
namespace {
HDC SourceHdc(const CDC* pSrcDC) {
    return pSrcDC ? pSrcDC->m_hDC : nullptr;
}
}  // namespace

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, SourceHdc(pSrcDC), xSrc, ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop) {
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, SourceHdc(pSrcDC), xSrc, ySrc, nSrcWidth, nSrcHeight, dwRop);
}

BOOL CDC::TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
                         int nSrcWidth, int nSrcHeight, UINT clrTransparent) {
    return ::TransparentBlt(m_hDC, xDest, yDest, nDestWidth, nDestHeight, SourceHdc(pSrcDC), xSrc, ySrc, nSrcWidth,
                            nSrcHeight, clrTransparent);
}

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) {
    return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
}

// ---- 7. Text and DrawState ------------------------------------------------------------------------------------
namespace {

thread_local rt::TextRunHook t_textRunHook;

// Where a TextOut/ExtTextOut run lands: the text alignment is always the default, so
// (x, y) is the cell's top-left.
RECT TextOutCell(HDC hdc, int x, int y, LPCTSTR text, UINT count, const INT* dx) {
    SIZE size{};
    ::GetTextExtentPoint32(hdc, text, int(count), &size);
    if (dx) {
        LONG advance = 0;
        for (UINT i = 0; i < count; ++i) advance += dx[i];
        size.cx = advance;
    }
    return RECT{x, y, x + size.cx, y + size.cy};
}

// Where a DrawText run lands: its DT_CALCRECT size placed in the rectangle by the format.
RECT DrawTextCell(HDC hdc, LPCTSTR text, int count, const RECT& rc, UINT format) {
    RECT calc = rc;
    ::DrawText(hdc, text, count, &calc, (format & ~DT_MODIFYSTRING) | DT_CALCRECT);
    const LONG w = calc.right - calc.left, h = calc.bottom - calc.top;
    RECT cell{rc.left, rc.top, rc.left + w, rc.top + h};
    if (format & DT_CENTER) OffsetRect(&cell, (rc.right - rc.left - w) / 2, 0);
    else if (format & DT_RIGHT) OffsetRect(&cell, rc.right - rc.left - w, 0);
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) OffsetRect(&cell, 0, (rc.bottom - rc.top - h) / 2);
        else if (format & DT_BOTTOM) OffsetRect(&cell, 0, rc.bottom - rc.top - h);
    }
    if (!(format & DT_NOCLIP)) IntersectRect(&cell, &cell, &rc);
    return cell;
}

// Where a DrawState text lands: a normal look is DrawText's at pt, whatever the size; the
// disabled look is cut to the size or the text's extent, embossed with its highlight copy
// one pixel down and right.
RECT DrawStateTextCell(HDC hdc, POINT pt, SIZE size, LPCTSTR text, int count, UINT flags, BOOL prefix) {
    if (count <= 0) count = int(std::wcslen(text));
    if (!(flags & DSS_DISABLED))
        return DrawTextCell(hdc, text, count, RECT{pt.x, pt.y, pt.x, pt.y}, DT_NOCLIP | (prefix ? 0 : DT_NOPREFIX));
    SIZE extent{};
    ::GetTextExtentPoint32(hdc, text, count, &extent);
    return RECT{pt.x, pt.y, pt.x + (size.cx ? size.cx : extent.cx) + 1, pt.y + (size.cy ? size.cy : extent.cy) + 1};
}

void ReportTextRun(HDC hdc, const RECT& cell) {
    if (t_textRunHook && cell.right > cell.left && cell.bottom > cell.top) t_textRunHook(hdc, cell);
}

}  // namespace

namespace rt {
void SetTextRunHook(TextRunHook hook) { t_textRunHook = std::move(hook); }
}  // namespace rt

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount) {
    const RECT cell = t_textRunHook ? TextOutCell(m_hDC, x, y, lpszString, UINT(nCount), nullptr) : RECT{};
    const BOOL ok = ::TextOut(m_hDC, x, y, lpszString, nCount);
    if (ok) ReportTextRun(m_hDC, cell);
    return ok;
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount, LPINT lpDxWidths) {
    const RECT cell = t_textRunHook && lpszString ? TextOutCell(m_hDC, x, y, lpszString, nCount, lpDxWidths) : RECT{};
    const BOOL ok = ::ExtTextOut(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
    if (ok) ReportTextRun(m_hDC, cell);
    return ok;
}

int CDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
    const bool report = t_textRunHook && lpszString && lpRect && !(nFormat & DT_CALCRECT);
    const RECT cell = report ? DrawTextCell(m_hDC, lpszString, nCount, *lpRect, nFormat) : RECT{};
    const int height = ::DrawText(m_hDC, lpszString, nCount, lpRect, nFormat);
    if (height) ReportTextRun(m_hDC, cell);
    return height;
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const {
    CSize size;
    ::GetTextExtentPoint32(m_hAttribDC, lpszString, nCount, &size);
    return size;
}

CSize CDC::GetOutputTextExtent(LPCTSTR lpszString, int nCount) const {
    CSize size;
    ::GetTextExtentPoint32(m_hDC, lpszString, nCount, &size);
    return size;
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* lpMetrics) const {
    return ::GetTextMetrics(m_hAttribDC, lpMetrics);
}

int CDC::GetTextFace(int nCount, LPTSTR lpszFacename) const {
    return ::GetTextFace(m_hAttribDC, nCount, lpszFacename);
}

int CDC::GetTextFace(CString& rString) const {
    const int n = ::GetTextFace(m_hAttribDC, LF_FACESIZE, rString.GetBuffer(LF_FACESIZE));
    rString.ReleaseBuffer();
    return n;
}

namespace {
UINT TextKind(BOOL bPrefixText) {
    return bPrefixText ? DST_PREFIXTEXT : DST_TEXT;
}
HBRUSH BrushOf(CBrush* pBrush) {
    return static_cast<HBRUSH>(HandleOf(pBrush));
}
}  // namespace

BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen,
                    HBRUSH hBrush) {
    const RECT cell = t_textRunHook && lpszText
                          ? DrawStateTextCell(m_hDC, pt, size, lpszText, nTextLen, nFlags, bPrefixText)
                          : RECT{};
    const BOOL ok = ::DrawState(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(lpszText), WPARAM(nTextLen), pt.x,
                                pt.y, size.cx, size.cy, nFlags | TextKind(bPrefixText));
    if (ok) ReportTextRun(m_hDC, cell);
    return ok;
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen,
                    CBrush* pBrush) {
    return DrawState(pt, size, lpszText, nFlags, bPrefixText, nTextLen, BrushOf(pBrush));
}

BOOL CDC::DrawState(CPoint pt, CSize size, const CString& str, UINT nFlags, BOOL bPrefixText, int nTextLen,
                    HBRUSH hBrush) {
    return DrawState(pt, size, str.GetString(), nFlags, bPrefixText, nTextLen, hBrush);
}

BOOL CDC::DrawState(CPoint pt, CSize size, const CString& str, UINT nFlags, BOOL bPrefixText, int nTextLen,
                    CBrush* pBrush) {
    return DrawState(pt, size, str.GetString(), nFlags, bPrefixText, nTextLen, BrushOf(pBrush));
}
