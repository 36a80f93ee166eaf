// Rectangles and widths: tab placement for every alignment and arrangement, text button
// placement, equal division, fitting to a limit and widths from a margin.
//
// Index
//   1. Totals and look-ups
//   2. SetTabAndTextbtnRect: tabs, then text buttons
//   3. ReCalculateTabSize: equal division
//   4. SetLimitMaxWidth, SetItemWidthWithMargin
//   5. GetItemArrowRect
#include "ElementTabControl.h"
#include "TabControlConstants.h"

using namespace tabcontrol;

// ---- 1. Totals and look-ups ---------------------------------------------------------------------
int CElementTabControl::Overlap() const {
    return m_nTabArrangement == TAB_OVERLAPPED ? kOverlap : 0;
}

// The three totals of the visible tabs in one walk, for callers that need them together.
CElementTabControl::VisibleTotals CElementTabControl::SumVisibleTabs() {
    const int nOverlap = Overlap();
    long long nWidth = 0, nOrgWidth = 0;
    int nCount = 0;
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) {
        const CQuoteTabItem* pItem = m_arrItems[i];
        if (!pItem->m_bVisible) continue;
        ++nCount;
        nWidth += static_cast<long long>(pItem->m_nWidth) - nOverlap;
        nOrgWidth += static_cast<long long>(pItem->m_nOrgWidth) - nOverlap;
    }
    return VisibleTotals{nCount, ClampToInt(nWidth), ClampToInt(nOrgWidth)};
}

int CElementTabControl::GetVisibleCount() {
    int nCount = 0;
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
        if (m_arrItems[i]->m_bVisible) ++nCount;
    return nCount;
}

int CElementTabControl::GetAllTabItemWidth() {  // its own walk: every layout run takes it
    const int nOverlap = Overlap();
    long long nTotal = 0;
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
        if (m_arrItems[i]->m_bVisible) nTotal += static_cast<long long>(m_arrItems[i]->m_nWidth) - nOverlap;
    return ClampToInt(nTotal);
}

int CElementTabControl::GetTabItemOriginalWidth() {
    return SumVisibleTabs().nOrgWidth;
}

// The narrowest a tab may get: its name, plus room for the arrow when it has a menu.
int CElementTabControl::GetItemMinWidth(CQuoteTabItem* pItem) {
    const long long nText = GetCurTextExtent(pItem->m_strName.GetString()).cx;
    if (pItem->m_vecMenu.empty()) return ClampToInt(nText + kMinTextPad);
    return ClampToInt(nText + m_nArrowMargin + kMinMenuPad);
}

int CElementTabControl::GetTabItemMinWidth() {
    long long nTotal = 0;
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
        if (m_arrItems[i]->m_bVisible) nTotal += GetItemMinWidth(m_arrItems[i]);
    return ClampToInt(nTotal);
}

int CElementTabControl::GetLastVisibleItemIndex() {
    for (INT_PTR i = m_arrItems.GetSize() - 1; i >= 0; --i)
        if (m_arrItems[i]->m_bVisible) return int(i);
    return -1;
}

CQuoteTabItem* CElementTabControl::GetBeforeVisibleItem(int nIndex) {
    if (nIndex == 0 || !ValidIndex(nIndex)) return nullptr;
    for (int i = nIndex - 1; i >= 0; --i)
        if (m_arrItems[i]->m_bVisible) return m_arrItems[i];
    return m_arrItems[0];
}

// ---- 2. SetTabAndTextbtnRect ----------------------------------------------------------------------
void CElementTabControl::SetTabAndTextbtnRect() {
    CRect rcDraw;
    GetDrawRect(&rcDraw);
    CRect rcStrip;
    GetTabAreaRect(&rcStrip);
    const int nOverlap = Overlap();
    const long long nTotal = GetAllTabItemWidth();

    // X0 is an x coordinate of its own, not added to the strip's left edge: this host's
    // drawing rectangle starts at x 0. It is negative when centred or right-aligned tabs
    // are wider than the strip.
    long long nStart = 0;
    if (m_nTabAlign == kAlignCentre)
        nStart = (rcStrip.Width() - nTotal) / 2;
    else if (m_nTabAlign == kAlignRight)
        nStart = rcStrip.Width() - nTotal;

    // The running right edge of the last visible tab. The first visible tab starts at X0
    // even when tabs before it are hidden, so a centred or right-aligned strip stays so.
    long long nLeft = nStart;
    const INT_PTR nCount = m_arrItems.GetSize();
    for (INT_PTR i = 0; i < nCount; ++i) {
        CQuoteTabItem* pItem = m_arrItems[i];
        if (!pItem->m_bVisible) {
            SetItemNULLRect(pItem);
            continue;
        }
        const long long nRight = nLeft + pItem->m_nWidth - nOverlap;
        const long long nHeight = rcStrip.Height() < pItem->m_nHeight ? rcStrip.Height() : pItem->m_nHeight;
        pItem->m_rcItem.SetRect(ClampToInt(nLeft), ClampToInt(rcStrip.bottom - nHeight), ClampToInt(nRight),
                                rcStrip.bottom);
        nLeft = nRight;
    }
    PlaceTextButtons(rcDraw);
}

void CElementTabControl::PlaceTextButtons(const CRect& rcDraw) {
    const INT_PTR nCount = m_arrTextBtn.GetSize();
    if (nCount == 0) return;
    const bool bFollow = m_nTextBtnAlign == DIRECT_FOLLOW_TABS;
    CRect rcRef = rcDraw;  // R: the rectangle the next button is placed against
    if (bFollow) {
        const int nLast = GetLastVisibleItemIndex();
        if (nLast < 0) return;  // no tab to follow: the buttons keep their rectangles
        rcRef = m_arrItems[nLast]->m_rcItem;
    }
    bool bFirstPlaced = true;
    for (INT_PTR n = 0; n < nCount; ++n) {
        const INT_PTR i = bFollow ? n : nCount - 1 - n;  // right-aligned: last to first
        _TEXT_BUTTON& btn = m_arrTextBtn[i];
        if (!btn.m_bVisible) {
            SetTextBtnNULLRect(static_cast<unsigned int>(i));
            continue;
        }
        const bool bCaption = btn.strImage.IsEmpty();
        long long nLeft = 0, nRight = 0;
        if (bFollow) {
            nLeft = static_cast<long long>(rcRef.right) + kTextButtonGap;
            nRight = nLeft + (bCaption ? btn.sizeText.cx : static_cast<long long>(btn.sizeImage.cx) + kImageButtonPad);
        } else {
            nRight = static_cast<long long>(bFirstPlaced ? rcRef.right : rcRef.left) - kTextButtonGap;
            nLeft = nRight - (bCaption ? btn.sizeText.cx : btn.sizeImage.cx);
        }
        btn.rcBtn.SetRect(ClampToInt(nLeft), rcRef.top, ClampToInt(nRight), rcRef.bottom);
        rcRef = btn.rcBtn;
        bFirstPlaced = false;
    }
}

// ---- 3. ReCalculateTabSize --------------------------------------------------------------------------
// The tab's ID is its column (or row) number. Runs at every paint, so the rectangles it
// sets stand until the next layout run.
void CElementTabControl::ReCalculateTabSize() {
    CRect rcStrip;
    GetTabAreaRect(&rcStrip);
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) DivideItem(m_arrItems[i], rcStrip);
}

// One tab's part of ReCalculateTabSize; it reads and writes that tab's record only, so
// the paint does it in its own walk over the tabs.
void CElementTabControl::DivideItem(CQuoteTabItem* pItem, const CRect& rcStrip) {
    if (pItem->m_nDivide == 0) return;
    if (pItem->m_nSizeMode == 1 && (m_nTabPos == kSideTop || m_nTabPos == kSideBottom)) {
        const int nShare = ClampToInt(static_cast<long long>(rcStrip.Width()) / pItem->m_nDivide);
        pItem->m_nWidth = pItem->m_nShareWidth = pItem->m_nOrgWidth = nShare;
        const long long nLeft = static_cast<long long>(pItem->m_nID) * nShare;
        pItem->m_rcItem.left = ClampToInt(nLeft);
        pItem->m_rcItem.right = ClampToInt(nLeft + nShare);
    } else if (m_nTabPos == kSideLeft) {
        // A left strip is divided into rows whatever the size mode.
        const long long nTop = static_cast<long long>(pItem->m_nID) * m_nTabHeight;
        pItem->m_rcItem.SetRect(rcStrip.left, ClampToInt(nTop), rcStrip.right, ClampToInt(nTop + m_nTabHeight));
    }
}

// ---- 4. SetLimitMaxWidth, SetItemWidthWithMargin -------------------------------------------------------
void CElementTabControl::SetLimitMaxWidth(int nLimit) {
    const VisibleTotals totals = SumVisibleTabs();
    const int nOrig = totals.nOrgWidth;
    const int nCur = totals.nWidth;
    if (nLimit > nOrig && nCur >= nOrig) return;
    if (nCur == nLimit) return;
    const int nVisible = totals.nCount;
    if (nVisible == 0) return;
    const int nShare = nLimit / nVisible;
    if (nCur < nLimit) {
        // Growing: back to the natural widths, or an equal share with no minimum.
        for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) {
            CQuoteTabItem* pItem = m_arrItems[i];
            if (nLimit > nOrig)
                pItem->m_nWidth = pItem->m_nOrgWidth;  // hidden tabs too
            else if (pItem->m_bVisible)
                pItem->m_nWidth = nShare;
        }
    } else {
        // Shrinking never goes below a tab's minimum, so the total may stay above the limit.
        for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) {
            CQuoteTabItem* pItem = m_arrItems[i];
            if (!pItem->m_bVisible) continue;
            const int nMin = GetItemMinWidth(pItem);
            pItem->m_nWidth = nMin > nShare ? nMin : nShare;
        }
    }
    SetTabAndTextbtnRect();
    InvalidContainerRect(kRepaintFlag, nullptr);
}

int CElementTabControl::SetItemWidthWithMargin(int nID, int nMargin) {
    CQuoteTabItem* pItem = FindItemByID(nID);
    if (!pItem || !pItem->m_bVisible) return 0;
    const long long nText = GetCurTextExtent(pItem->m_strName.GetString()).cx;
    const long long nMarginL = nMargin;
    if (pItem->m_vecMenu.empty()) {
        const long long nWithMargin = nText + 2 * nMarginL;
        const long long nMin = nText + kMinTextPad;
        pItem->m_nWidth = ClampToInt(nWithMargin > nMin ? nWithMargin : nMin);
        return 1;
    }
    // The arrow margin and the left part's width are shared: every tab's arrow and
    // text move with them.
    m_nArrowMargin = nMargin < 3 ? 3 : SatAdd(nMarginL, 1);
    m_nLeftBmpWidth = nMargin > 3 ? nMargin : 3;
    const long long nWithMargin = nText + nMarginL + m_nArrowMargin + 9;
    const long long nMin = nText + m_nArrowMargin + kMinMenuPad;
    pItem->m_nWidth = ClampToInt(nWithMargin > nMin ? nWithMargin : nMin);
    return 1;
}

// ---- 5. GetItemArrowRect --------------------------------------------------------------------------------
void CElementTabControl::GetItemArrowRect(CRect& rcItem, CRect& rcArrow) {
    BITMAP bm{};  // 0 x 0 while no arrow bitmap is loaded
    if (m_pArrowBmp && m_pArrowBmp->GetSafeHandle()) m_pArrowBmp->GetBitmap(&bm);
    rcArrow.right = SatAdd(rcItem.right, -static_cast<long long>(m_nArrowMargin));
    rcArrow.left = SatAdd(rcArrow.right, -static_cast<long long>(bm.bmWidth));
    rcArrow.top = ClampToInt(rcItem.top + (static_cast<long long>(rcItem.Height()) - bm.bmHeight) / 2);
    rcArrow.bottom = SatAdd(rcArrow.top, bm.bmHeight);
    // Saturating: a tab may end at INT_MAX.
    rcArrow.SetRect(SatAdd(rcArrow.left, kArrowHitShift), SatAdd(rcArrow.top, kArrowHitShift),
                    SatAdd(rcArrow.right, kArrowHitShift), SatAdd(rcArrow.bottom, kArrowHitShift));
}
