// Mouse interaction: clicks on tabs and text buttons, hover, cursor, and the small
// operations that select or rename a tab by its ID.
//
// Index
//   1. Clicks (OnLButtonDown, OnLButtonUp)
//   2. Hover (OnMouseMove, OnMouseLeave) and cursor (OnSetCursor)
//   3. OnSize
//   4. Selection and names by ID
#include "ElementTabControl.h"
#include "TabControlConstants.h"

using namespace tabcontrol;

void CElementTabControl::InvalidateStrip() {
    CRect rcStrip;
    GetTabAreaRect(&rcStrip);
    InvalidContainerRect(kRepaintFlag, &rcStrip);
}

// ---- 1. Clicks ---------------------------------------------------------------------------------------
// The menu opens on the arrow, on any click when m_bMenuOnClick is set, and on the body
// as long as the shown name is still the name the tab was created with.
bool CElementTabControl::ClickOpensMenu(CQuoteTabItem* pItem, POINT pt) {
    if (pItem->m_vecMenu.empty()) return false;
    if (pItem->m_bMenuOnClick) return true;
    CRect rcArrow;
    GetItemArrowRect(pItem->m_rcItem, rcArrow);
    if (rcArrow.PtInRect(pt)) return true;
    return pItem->m_strName == pItem->m_strOrgName;
}

void CElementTabControl::ClickItem(int nIndex, POINT pt) {
    CQuoteTabItem* pItem = m_arrItems[nIndex];
    if (ClickOpensMenu(pItem, pt)) {
        // No selection, no notification, no repaint: a menu choice speaks for itself.
        CRect rcItem = pItem->m_rcItem;
        OpenItemMenu(pItem, rcItem);
        return;
    }
    if (pItem->m_strName.IsEmpty()) {
        InvalidContainerRect(kRepaintFlag, &pItem->m_rcItem);
        return;
    }
    m_nSelTab = nIndex;
    // Posted also when the tab was selected already.
    PostControlMessage(kMsgTabSelected, WPARAM(pItem->m_nID), 0);
    InvalidateStrip();
}

int CElementTabControl::OnLButtonDown(POINT pt) {
    // Visibility is not looked at: the layout gives hidden tabs empty rectangles. The
    // count is read again each time, since a menu can run the host in between, and the
    // loop does not stop at a hit.
    for (int i = 0; i < m_arrItems.GetSize(); ++i) {
        if (!m_arrItems[i]->m_rcItem.PtInRect(pt)) continue;
        ClickItem(i, pt);
    }
    // Text buttons act whatever happened to the tabs.
    const INT_PTR nButtons = m_arrTextBtn.GetSize();
    for (INT_PTR i = 0; i < nButtons; ++i) {
        if (!m_arrTextBtn[i].rcBtn.PtInRect(pt)) continue;
        PostControlMessage(kMsgTextButton, WPARAM(m_arrTextBtn[i].nID), 0);
        break;
    }
    SkipMsg();
    return 1;
}

int CElementTabControl::OnLButtonUp(POINT) {
    return 1;
}

// ---- 2. Hover and cursor ----------------------------------------------------------------------------------
int CElementTabControl::OnMouseMove(int x, int y, DWORD) {
    const POINT pt{x, y};
    const INT_PTR nCount = m_arrItems.GetSize();
    for (INT_PTR i = 0; i < nCount; ++i) {
        CQuoteTabItem* pItem = m_arrItems[i];
        // The rectangle first: the visibility flag lies in another cache line of the
        // record, read then only for the tab under the pointer.
        if (!pItem->m_rcItem.PtInRect(pt) || !pItem->m_bVisible) continue;
        m_bHandCursor = 1;
        const int nOldHot = m_nHotTab;
        m_nHotTab = int(i);
        if (nOldHot != m_nHotTab) InvalidateStrip();
        ::SetCursor(m_hcurHover);
        SkipMsg();
        return 1;  // text buttons are not looked at
    }
    if (CQuoteTabItem* pLost = ItemAt(m_nHotTab)) {
        CRect rcLost = pLost->m_rcItem;
        m_nHotTab = -1;
        InvalidContainerRect(kRepaintFlag, &rcLost);
    }
    // Every button before the hit (all of them when none is hit) is repainted as it
    // loses or keeps its plain state.
    const INT_PTR nButtons = m_arrTextBtn.GetSize();
    for (INT_PTR i = 0; i < nButtons; ++i) {
        _TEXT_BUTTON& btn = m_arrTextBtn[i];
        if (btn.rcBtn.PtInRect(pt)) {
            m_bHandCursor = 1;
            btn.bHot = true;
            InvalidContainerRect(kRepaintFlag, &btn.rcBtn);
            ::SetCursor(m_hcurHover);
            SkipMsg();
            return 1;
        }
        btn.bHot = false;
        InvalidContainerRect(kRepaintFlag, &btn.rcBtn);
    }
    m_bHandCursor = 0;  // the cursor itself is left alone until the next set-cursor
    SkipMsg();
    return 1;
}

int CElementTabControl::OnMouseLeave() {
    bool bChanged = m_nHotTab != -1;
    m_nHotTab = -1;
    for (INT_PTR i = 0; i < m_arrTextBtn.GetSize(); ++i) {
        bChanged = bChanged || m_arrTextBtn[i].bHot;
        m_arrTextBtn[i].bHot = false;
    }
    if (bChanged) InvalidContainerRect(kRepaintFlag, nullptr);
    // m_bHandCursor stays: a set-cursor before the next move shows the last choice.
    return 1;
}

int CElementTabControl::OnSetCursor(UINT, LPARAM) {
    SkipMsg();
    ::SetCursor(m_bHandCursor ? m_hcurHover : m_hcurNormal);
    return 1;
}

// ---- 3. OnSize -----------------------------------------------------------------------------------------------
int CElementTabControl::OnSize(UINT, int, int) {
    SetTabAndTextbtnRect();
    return 1;
}

// ---- 4. Selection and names by ID -----------------------------------------------------------------------------
int CElementTabControl::FindTabID(int nID, int& nIndex) {
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) {
        if (m_arrItems[i]->m_nID != nID) continue;
        nIndex = int(i);
        return 1;
    }
    return 0;
}

int CElementTabControl::SetSelectedTab(int nID) {
    int nIndex = 0;
    if (!FindTabID(nID, nIndex)) return 0;
    m_nSelTab = nIndex;
    return 1;
}

int CElementTabControl::ChangeItemNameByID(int nID, const wchar_t* lpszName) {
    if (!lpszName) return 0;
    CQuoteTabItem* pItem = FindItemByID(nID);
    if (!pItem) return 0;
    const long long nOld = GetCurTextExtent(pItem->m_strName.GetString()).cx;
    const long long nNew = GetCurTextExtent(lpszName).cx;
    pItem->m_strName = lpszName;  // m_strOrgName stays: a body click now selects
    pItem->m_nWidth = ClampToInt(pItem->m_nWidth + nNew - nOld);
    SetTabAndTextbtnRect();
    return 1;
}
