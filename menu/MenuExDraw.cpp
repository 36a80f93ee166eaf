// The drawing helpers of CMenuEx: the pieces a derived class paints its owner-drawn items
// from. CMenuEx itself never calls them.
//
// Index
//   1. Colours and the check mark (LightenColor, DrawCheck, DrawCheckmark)
//   2. Text (GrayStringW, TextMenu)
//   3. Images (DrawMenuItemImage, DrawImageLeft)
//   4. Background picture (DrawBackPic)
#include <algorithm>

#include "MenuEx.h"
#include "frame/LightCanvas.h"
#include "frame/MemDC.h"

namespace {

constexpr double kCheckedFactor = 0.55;                         // a selected item's check square
constexpr double kUncheckedFactor = 0.85;                       // any other check square
constexpr int kCheckWidth = 7;                                  // columns of the tick
constexpr int kCheckTops[kCheckWidth] = {2, 3, 4, 3, 2, 1, 0};  // top of each column's stroke
constexpr int kCheckStroke = 3;                                 // stroke length, one less when short

constexpr UINT kEngravedFormat = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;  // 0x64
constexpr UINT kTextFormat = DT_VCENTER | DT_EXPANDTABS;                      // 0x44
constexpr COLORREF kEngravedLight = RGB(255, 255, 255);
constexpr COLORREF kEngravedDark = RGB(127, 127, 127);
constexpr COLORREF kDarkModeText = RGB(255, 255, 255);
constexpr int kImagePad = 4;        // the image square is the image plus 4
constexpr int kCheckedAdvance = 6;  // text starts image width + 6 right of a check square
constexpr wchar_t kGrayCheck[] = L"\u221A";

// One channel moved the fraction f of the way to 255, truncated toward zero.
BYTE LightenChannel(BYTE v, double f) {
    const int lightened = static_cast<int>((255.0 - v) * f + v);
    return static_cast<BYTE>(lightened & 0xFF);
}

// Half of a length, negative lengths giving nothing to centre in.
int HalfOrZero(int length) {
    return length > 0 ? length / 2 : 0;
}

}  // namespace

// ---- 1. Colours and the check mark ------------------------------------------------------------------
COLORREF CMenuEx::LightenColor(COLORREF clr, double dFactor) {
    if (!(dFactor > 0.0 && dFactor <= 1.0)) return clr;
    return RGB(LightenChannel(GetRValue(clr), dFactor), LightenChannel(GetGValue(clr), dFactor),
               LightenChannel(GetBValue(clr), dFactor));
}

// A tick 7 pixels wide whose lowest point is its third column; every stroke is one
// pixel shorter with bShortStrokes.
void CMenuEx::DrawCheck(CDC* pDC, int x, int y, COLORREF clr, int bShortStrokes) {
    if (!pDC) return;
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 0, clr)) return;
    CPen* pOldPen = pDC->SelectObject(&pen);
    const int nStroke = kCheckStroke - (bShortStrokes ? 1 : 0);
    for (int k = 0; k < kCheckWidth; ++k) {
        pDC->MoveTo(x + k, y + kCheckTops[k]);
        pDC->LineTo(x + k, y + kCheckTops[k] + nStroke);  // the end point is not drawn
    }
    pDC->SelectObject(pOldPen);
    pen.DeleteObject();
}

int CMenuEx::DrawCheckmark(CDC* pDC, const CRect& rc, COLORREF& clr, int bSelected) {
    if (!pDC) return 0;
    const int dy = std::max(HalfOrZero(rc.Height()) - 3, 0);
    const int dx = std::max(HalfOrZero(rc.Width()) - 3, 0);
    CBrush brush;
    if (brush.CreateSolidBrush(LightenColor(clr, bSelected ? kCheckedFactor : kUncheckedFactor))) {
        pDC->FillRect(&rc, &brush);
        brush.DeleteObject();
    }
    pDC->Draw3dRect(&rc, clr, clr);
    DrawCheck(pDC, rc.left + dx, rc.top + dy, ::GetSysColor(COLOR_MENUTEXT), 1);
    return 1;
}

// ---- 2. Text ----------------------------------------------------------------------------------------------
// Engraved: white one pixel down and right, grey over it.
void CMenuEx::GrayStringW(CDC* pDC, const CString& str, CRect rc) {
    if (!pDC) return;
    CRect rcShadow(rc.left + 1, rc.top + 1, rc.right, rc.bottom);
    pDC->SetTextColor(kEngravedLight);
    pDC->DrawText(str, &rcShadow, kEngravedFormat);
    pDC->SetTextColor(kEngravedDark);
    pDC->DrawText(str, &rc, kEngravedFormat);
}

void CMenuEx::TextMenu(CDC* pDC, CRect rcBack, CRect rcText, int bDrawBack, int bDisabled, tagMENUITEM* pItem) {
    if (!pDC) return;
    if (bDrawBack) DrawBackPic(pDC, rcBack);
    if (!pItem) return;  // no record, no text
    if (bDisabled) {
        const CString& strText = pItem->strText;
        ::DrawStateW(pDC->GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(strText.GetString()), 0, rcText.left,
                     rcText.top, rcText.Width(), rcText.Height(), DST_PREFIXTEXT | DSS_DISABLED);
        return;
    }
    // In light mode the colour already selected in the DC is used.
    if (nMenuBackGroundMode == MENUBK_DARK) pDC->SetTextColor(kDarkModeText);
    pDC->DrawText(pItem->strText, &rcText, kTextFormat);
}

// ---- 3. Images ---------------------------------------------------------------------------------------------
void CMenuEx::DrawMenuItemImage(CDC* pDC, CRect& rc, int bSelected, int bChecked, int bDisabled, int bHasImage,
                                tagMENUITEM* pItem) {
    if (!pDC) return;
    const CRect rcSquare(rc.left, rc.top, rc.left + m_nImageWidth + kImagePad, rc.top + m_nImageHeight + kImagePad);
    if (bChecked) {
        if (bDisabled) {
            GrayStringW(pDC, CString(kGrayCheck), rcSquare);
        } else {
            COLORREF clrHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
            // The checked flag stands in for the selected one, as intended: a check square
            // always takes the lighter 0.55 shade.
            DrawCheckmark(pDC, rcSquare, clrHighlight, bChecked);
        }
        rc.left += m_nImageWidth + kCheckedAdvance;
        return;
    }
    if (!bHasImage || !pItem || !pItem->pImageList) return;
    const UINT nStyle = bDisabled ? (ILD_TRANSPARENT | ILD_BLEND50) : ILD_TRANSPARENT;
    ::ImageList_Draw(pItem->pImageList->GetSafeHandle(), pItem->nImageIndex, pDC->GetSafeHdc(), rc.left + 2,
                     rc.top + (bSelected ? 1 : 2), nStyle);
    // rc.left is not moved past an image, as intended: the caller leaves room for it.
}

void CMenuEx::DrawImageLeft(CDC* pDC, CRect& rc, tagMENUITEM* pItem) {
    if (!pDC || !m_bHasLeftImage || !pItem || pItem->nLeftImagePos == -1) return;
    CDC memDC;
    if (!memDC.CreateCompatibleDC(pDC)) return;
    CBitmap* pOldBitmap = memDC.SelectObject(&m_bmpLeft);
    pDC->BitBlt(rc.left, rc.top, m_nLeftImageWidth, rc.Height(), &memDC, 0, 0, SRCCOPY);
    memDC.SelectObject(pOldBitmap);
    memDC.DeleteDC();
    rc.left += m_nLeftImageWidth + 1;
}

// ---- 4. Background picture ---------------------------------------------------------------------------------
// Each copy of the picture lies one pixel right of the one before, so its first column
// fills the band. The copies start at x = 0 of the DC, not at rc.left, as intended: items
// start at the left edge of their popup.
void CMenuEx::DrawBackPic(CDC* pDC, CRect& rc) {
    // Without a picture (no bitmap factory, or no "menu_pic.bmp" in it) nothing is drawn.
    if (!pDC || !m_pBackBmp || !m_pBackBmp->GetSafeHandle() || rc.IsRectEmpty()) return;
    BITMAP bm{};
    if (!m_pBackBmp->GetBitmap(&bm)) return;
    CMemDC memDC(pDC, &rc);
    {
        CLightCanvas canvas(&memDC);
        canvas.FillRectBorder(&rc, CLR_INVALID, RGB(0, 0, 0));
        for (int x = 0; x < rc.Width(); ++x)
            canvas.StretchBitmap(x, rc.top, bm.bmWidth, bm.bmHeight, m_pBackBmp, CLR_INVALID);
    }  // the canvas goes first, then the memory DC puts the picture on pDC
}
