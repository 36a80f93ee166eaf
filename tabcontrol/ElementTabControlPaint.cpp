// Painting: the strip background, one filled and framed cell per visible tab with its
// name, the menu arrows and the text buttons, all into one CMemDC. The skin is read
// again at every paint.
//
// Index
//   1. OnPaint, skin loading, GetColorEx
//   2. Background and cells (DrawTabItem, DrawItemBitmap)
//   3. Arrows (DrawWhiteArrow)
//   4. Text buttons (DrawTextBtn)
#include "ElementTabControl.h"

#include <algorithm>

#include "TabControlConstants.h"

using namespace tabcontrol;

namespace {

BITMAP BitmapInfo(CBitmap* pBmp) {
    BITMAP bm{};
    if (pBmp && pBmp->GetSafeHandle()) pBmp->GetBitmap(&bm);
    return bm;
}

// What a paint may still change of the DC, in its logical coordinates. Drawing that lies
// wholly outside cannot change a pixel and is skipped; ERROR: nothing known, all is drawn.
CRect PaintClip(CDC& dc) {
    CRect rc;
    if (dc.GetClipBox(&rc) == ERROR) rc.SetRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    return rc;
}

// Whether drawing confined to the span [l, r) x [t, b) can reach the clip box.
bool Reaches(long long l, long long t, long long r, long long b, const CRect& rcClip) {
    return l < rcClip.right && r > rcClip.left && t < rcClip.bottom && b > rcClip.top;
}

// The same for a rectangle given either corner first.
bool Reaches(const CRect& rc, const CRect& rcClip) {
    return Reaches(std::min(rc.left, rc.right), std::min(rc.top, rc.bottom), std::max(rc.left, rc.right),
                   std::max(rc.top, rc.bottom), rcClip);
}

// A tab's own key, or the default one when the tab has none.
const wchar_t* KeyOr(const CString& strKey, const wchar_t* lpszDefault) {
    return strKey.IsEmpty() ? lpszDefault : strKey.GetString();
}

}  // namespace

// ---- 1. OnPaint, skin loading, GetColorEx -----------------------------------------------------------
int CElementTabControl::OnPaint(CPaintDC* pDC) {
    CComPtr<IBitmapFactory> pFactory = GetEnvBitmapFactory();
    CComPtr<CSWPalette> pPalette = GetEnvSkinPalette();
    if (!pDC || !pFactory || !pPalette) return 0;
    if (!GetColorBmpAndFont(pFactory, pPalette)) return 0;

    CRect rcDraw;
    GetDrawRect(&rcDraw);
    if (rcDraw.IsRectEmpty()) return 1;
    // Only the part the paint DC shows is drawn off-screen and copied out; the layout
    // still takes the whole drawing rectangle.
    CRect rcShown, rcPaint = rcDraw;
    if (pDC->GetClipBox(&rcShown) != ERROR && rcShown.IntersectRect(&rcShown, &rcDraw)) rcPaint = rcShown;
    CMemDC dc(pDC, &rcPaint);
    {
        CLightCanvas canvas(&dc);
        CRect rcStrip;
        GetTabAreaRect(&rcStrip);
        canvas.FillRectBorder(&rcStrip, CLR_INVALID, m_clrBk);
        DrawTabItem(dc, canvas, pFactory, pPalette, rcDraw, rcStrip);  // also divides the tabs
        DrawWhiteArrow(dc, canvas, pFactory);
        if (m_nTabPos == kSideTop || m_nTabPos == kSideBottom) DrawTextBtn(dc, canvas, pFactory, pPalette);
        canvas.RestoreState();
    }  // the canvas goes first, then the CMemDC copies the picture out
    return 1;
}

int CElementTabControl::GetColorBmpAndFont(CComPtr<IBitmapFactory> pFactory, CComPtr<CSWPalette> pPalette) {
    if (!pFactory || !pPalette) return 0;
    m_clrKey = pPalette->GetColor(kKeyColorKey);
    m_clrBk = pPalette->GetColor(kKeyBackground);
    m_pFont = pPalette->GetFont(kFontButton);
    m_pBoldFont = pPalette->GetFont(kFontBold);
    m_pLineFont = pPalette->GetFont(kFontLine);
    m_pArrowBmp = pFactory->GetFolderBitmap(kSkinFolder, kArrowBmp);
    m_pArrowSelBmp = pFactory->GetFolderBitmap(kSkinFolder, kArrowSelBmp);
    return m_pFont && m_pBoldFont && m_pLineFont && m_pArrowBmp && m_pArrowSelBmp ? 1 : 0;
}

DWORD CElementTabControl::GetColorEx(const wchar_t* lpszKey) {
    if (!lpszKey || !*lpszKey) return 0;
    CComPtr<CSWPalette> pPalette = GetEnvSkinPalette();
    return pPalette ? pPalette->GetColor(lpszKey) : 0;
}

// ---- 2. Background and cells --------------------------------------------------------------------------
void CElementTabControl::DrawStripBackground(CLightCanvas& canvas, IBitmapFactory* pFactory, const CRect& rcDraw) {
    if (m_bBmpBk) {
        if (m_nTabBkDrawType == 1) {
            if (m_arrItems.GetSize() == 0) return;
            CBitmap* pBmp = pFactory->GetFolderBitmap(kSkinFolder, kStripBmp);
            if (!pBmp) return;
            const BITMAP bm = BitmapInfo(pBmp);
            canvas.StretchBitmap(rcDraw.left, rcDraw.top, rcDraw.Width(), bm.bmHeight, pBmp, m_clrKey);
        } else {
            // Drawn even without tabs.
            CBitmap* pBmp = pFactory->GetFolderBitmap(kSkinFolder, m_strTabBkBmp.GetString());
            if (!pBmp) return;
            canvas.StretchBitmap(rcDraw.left, rcDraw.top, rcDraw.Width(), rcDraw.Height(), pBmp, m_clrKey);
        }
        return;
    }
    CRect rcStrip;
    GetTabAreaRect(&rcStrip);
    COLORREF clrFill = m_clrBk;
    if (m_arrItems.GetSize() > 0 && !m_arrItems[0]->m_strBkColor.IsEmpty())
        clrFill = GetColorEx(m_arrItems[0]->m_strBkColor.GetString());
    canvas.FillRectBorder(&rcStrip, CLR_INVALID, clrFill);
}

// One walk over the tabs: each is divided (ReCalculateTabSize's step), its cell and name
// drawn, and its arrow listed for DrawWhiteArrow, so that a paint reads each record once.
void CElementTabControl::DrawTabItem(CMemDC& dc, CLightCanvas& canvas, CComPtr<IBitmapFactory> pFactory,
                                     CComPtr<CSWPalette> pPalette, CRect& rcDraw, const CRect& rcStrip) {
    canvas.SetBkMode(TRANSPARENT);
    DrawStripBackground(canvas, pFactory, rcDraw);

    const INT_PTR nCount = m_arrItems.GetSize();
    const bool bSelectionCounts = ValidIndex(m_nSelTab);
    m_arrowTabs.clear();
    if (!m_pFont) {
        ReCalculateTabSize();
        return;
    }
    CFont* pOldFont = dc.SelectObject(m_pFont);
    const UINT nFormat = m_bTextBottom ? kDrawTextBottom : kDrawTextCentre;
    const CRect rcClip = PaintClip(dc);
    // Where a tab can draw, from its rectangle alone: its cell reaches at most two pixels
    // beyond it, its name stays inside it, or inside the menu tab's name span (left edge
    // plus nMenuLeft to right edge plus nMenuRight). Tested edge by edge, cheapest first:
    // a strip of thousands of tabs mostly fails the first test.
    const long long nMenuLeft = m_nLeftBmpWidth;
    const long long nMenuRight = -static_cast<long long>(m_nArrowMargin) - kMenuTextRightPad;
    const long long nReachLeftOfLeft = std::min(0LL, nMenuLeft) - 2, nReachLeftOfRight = std::min(0LL, nMenuRight) - 2;
    const long long nReachRightOfLeft = std::max(0LL, nMenuLeft) + 2, nReachRightOfRight = std::max(0LL, nMenuRight) + 2;
    auto canReachClip = [&](const CRect& rc) {
        return (rc.left + nReachLeftOfLeft < rcClip.right || rc.right + nReachLeftOfRight < rcClip.right) &&
               (rc.left + nReachRightOfLeft > rcClip.left || rc.right + nReachRightOfRight > rcClip.left) &&
               std::min(rc.top, rc.bottom) - 2LL < rcClip.bottom && std::max(rc.top, rc.bottom) + 2LL > rcClip.top;
    };
    // An arrow starts this far from its tab's right edge (the selected tab's may differ):
    // a strip of thousands of tabs mostly ends the test there.
    const long long nArrowLeft = -static_cast<long long>(m_nArrowMargin) - BitmapInfo(m_pArrowBmp).bmWidth;
    for (INT_PTR i = 0; i < nCount; ++i) {
        CQuoteTabItem* pItem = m_arrItems[i];
        if (pItem->m_nDivide != 0) DivideItem(pItem, rcStrip);  // the test inline: most tabs are not divided
        if (i == m_nSelTab || pItem->m_rcItem.right + nArrowLeft < rcClip.right) m_arrowTabs.push_back(i);
        // The rectangle first: a tab beyond the clip costs one cache line of its record.
        if (!canReachClip(pItem->m_rcItem) || !pItem->m_bVisible) continue;
        const int bSelected = bSelectionCounts && i == m_nSelTab;
        const int bHot = i == m_nHotTab;
        DrawItemBitmap(pItem, dc, canvas, pFactory, pPalette, rcDraw, bSelected, bHot);

        // Names of a strip on any side but the left are placed as on the top strip.
        CRect rcText = pItem->m_rcItem;
        if (m_nTabPos != kSideLeft) {
            // An odd height grows one pixel at the bottom (saturating: a tab may end at INT_MAX).
            rcText.bottom = SatAdd(rcText.bottom, (static_cast<long long>(rcText.bottom) - rcText.top) % 2);
            if (!pItem->m_vecMenu.empty()) {
                rcText.left = SatAdd(pItem->m_rcItem.left, m_nLeftBmpWidth);
                rcText.right =
                    SatAdd(pItem->m_rcItem.right, -static_cast<long long>(m_nArrowMargin) - kMenuTextRightPad);
            }
        }
        if (!Reaches(rcText, rcClip)) continue;  // DrawText clips to the rectangle
        // The hovered tab's text always takes the hover key, never the tab's own.
        const wchar_t* lpszTextKey = pItem->m_strTextColor.GetString();
        if (i == m_nSelTab)
            lpszTextKey = pItem->m_strSelTextColor.GetString();
        else if (i == m_nHotTab)
            lpszTextKey = kKeyHoverForeground;
        const COLORREF clrOldText = dc.SetTextColor(pPalette->GetColor(lpszTextKey));
        dc.DrawText(pItem->m_strName, &rcText, nFormat);
        dc.SetTextColor(clrOldText);
    }
    dc.SelectObject(pOldFont);
}

void CElementTabControl::DrawItemBitmap(CQuoteTabItem* pItem, CMemDC& /*dc*/, CLightCanvas& canvas,
                                        CComPtr<IBitmapFactory> /*pFactory*/, CComPtr<CSWPalette> /*pPalette*/,
                                        CRect& rcDraw, int bSelected, int bHot) {
    // Saturating: the layout may end a tab at INT_MAX (huge widths are clamped there).
    const CRect& rcItem = pItem->m_rcItem;
    CRect rcCell(SatAdd(rcItem.left, -1), SatAdd(rcItem.top, -1), SatAdd(rcItem.right, 1), SatAdd(rcItem.bottom, 1));
    // Keyed on the ID, not the place in the strip: a tab with a positive ID reaches over
    // its left neighbour's frame, any other one starts on its own left edge (intended).
    const int nShift = pItem->m_nID > 0 ? -1 : 1;
    if (m_nTabPos == kSideTop || m_nTabPos == kSideBottom)
        rcCell.left = SatAdd(rcCell.left, nShift);
    else if (m_nTabPos == kSideLeft)
        rcCell.top = SatAdd(rcCell.top, nShift);
    // Clip first: only what meets the drawing rectangle shows, and the frame of a cell
    // reaching INT_MAX would overflow its width. The pixel of slack keeps frame edges
    // that lie outside the element outside it.
    const CRect rcVisible(SatAdd(rcDraw.left, -1), SatAdd(rcDraw.top, -1), SatAdd(rcDraw.right, 1),
                          SatAdd(rcDraw.bottom, 1));
    if (!rcCell.IntersectRect(&rcCell, &rcVisible)) return;

    const COLORREF clrFrame = GetColorEx(KeyOr(pItem->m_strBorderColor, kKeyBorder));
    COLORREF clrFill;  // selection wins over hover
    if (bSelected)
        clrFill = GetColorEx(KeyOr(pItem->m_strFillHotlight, kKeyFillHotlight));
    else if (bHot)
        clrFill = GetColorEx(KeyOr(pItem->m_strHoverBkColor, kKeyHoverBackground));
    else
        clrFill = GetColorEx(KeyOr(pItem->m_strFillNormal, kKeyFillNormal));
    canvas.FillRectBorder(&rcCell, clrFrame, clrFill);
}

// ---- 3. Arrows -------------------------------------------------------------------------------------------
void CElementTabControl::DrawWhiteArrow(CMemDC& dc, CLightCanvas& canvas, CComPtr<IBitmapFactory> /*pFactory*/) {
    const CRect rcClip = PaintClip(dc);
    const BITMAP bmArrow = BitmapInfo(m_pArrowBmp), bmArrowSel = BitmapInfo(m_pArrowSelBmp);
    for (const INT_PTR i : m_arrowTabs) {  // listed by DrawTabItem, in strip order
        CQuoteTabItem* pItem = m_arrItems[i];
        const CRect& rc = pItem->m_rcItem;
        CBitmap* pBmp = i == m_nSelTab ? m_pArrowSelBmp : m_pArrowBmp;
        if (!pBmp) continue;
        const BITMAP& bm = i == m_nSelTab ? bmArrowSel : bmArrow;
        // The arrow's place first, from the rectangle: visibility and menu lie further
        // into the record.
        const int x = SatAdd(rc.right, -static_cast<long long>(m_nArrowMargin) - bm.bmWidth);
        const int y = ClampToInt(rc.top + (static_cast<long long>(rc.bottom) - rc.top - bm.bmHeight + 1) / 2);
        if (!Reaches(x, y, static_cast<long long>(x) + bm.bmWidth, static_cast<long long>(y) + bm.bmHeight, rcClip))
            continue;
        if (!pItem->m_bVisible || pItem->m_vecMenu.empty()) continue;
        canvas.StretchBitmap(x, y, bm.bmWidth, bm.bmHeight, pBmp, m_clrKey);
    }
}

// ---- 4. Text buttons ---------------------------------------------------------------------------------------
// Each caption is measured with the font selected at that moment: m_pFont for the first
// button, afterwards the font the last caption button selected (intended).
void CElementTabControl::DrawTextBtn(CMemDC& dc, CLightCanvas& canvas, CComPtr<IBitmapFactory> /*pFactory*/,
                                     CComPtr<CSWPalette> pPalette) {
    if (!m_pFont || !m_pLineFont) return;
    canvas.SetBkMode(TRANSPARENT);
    CFont* pOldFont = dc.SelectObject(m_pFont);
    const CRect rcClip = PaintClip(dc);
    const INT_PTR nCount = m_arrTextBtn.GetSize();
    for (INT_PTR i = 0; i < nCount; ++i) {
        _TEXT_BUTTON& btn = m_arrTextBtn[i];
        btn.sizeText = dc.GetTextExtent(btn.strText);
        if (btn.strImage.CompareNoCase(L"") == 0) {
            btn.rcBtn.right = SatAdd(btn.rcBtn.left, btn.sizeText.cx);
            dc.SelectObject(btn.bLineFont ? m_pLineFont : m_pFont);
            dc.SetTextColor(pPalette->GetColor(btn.bHot ? btn.strHotColor.GetString() : btn.strColor.GetString()));
            if (Reaches(btn.rcBtn, rcClip)) dc.DrawText(btn.strText, &btn.rcBtn, kDrawTextCentre);
            continue;
        }
        // Image buttons come from the palette, not the factory.
        CBitmap* pBmp = pPalette->GetBitmap(btn.bHot ? btn.strHotImage.GetString() : btn.strImage.GetString());
        if (!pBmp) continue;  // skipped: the rectangle stays as it was
        const BITMAP bm = BitmapInfo(pBmp);
        btn.rcBtn.right = SatAdd(btn.rcBtn.left, bm.bmWidth);
        const int y = ClampToInt(btn.rcBtn.top + (static_cast<long long>(btn.rcBtn.Height()) - bm.bmHeight) / 2);
        if (Reaches(btn.rcBtn.left, y, static_cast<long long>(btn.rcBtn.left) + bm.bmWidth,
                    static_cast<long long>(y) + bm.bmHeight, rcClip))
            canvas.StretchBitmap(btn.rcBtn.left, y, bm.bmWidth, bm.bmHeight, pBmp, RGB(0, 0, 0));
    }
    dc.SelectObject(pOldFont);
}
