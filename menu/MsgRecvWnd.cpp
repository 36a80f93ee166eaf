// Popup tracking on behalf of an element, and the hidden window that relays the chosen
// command to it.
//
// Index
//   1. CMenuEx: TrackPopupMenuWithContainerID, CreateMneuPopupWnd, DeleteMneuPopupWnd
//   2. CMsgRecvWnd: creation, OnCommand
//   3. CMsgRecvWnd: OnMeasureItem
#include "MsgRecvWnd.h"

#include <new>

#include "MenuEx.h"
#include "frame/HostServices.h"

CMsgRecvWnd* g_pMsgRecvWnd = nullptr;

// ---- 1. CMenuEx ------------------------------------------------------------------------------------------
int CMenuEx::TrackPopupMenuWithContainerID(UINT nFlags, int x, int y, CWnd* pWnd, DWORD dwContainerID,
                                           const RECT* prcRect) {
    if (!CreateMneuPopupWnd(pWnd, dwContainerID)) return 0;
    // Modal: returns once the menu has closed; a choice arrives later as WM_COMMAND.
    CMenu::TrackPopupMenu(nFlags, x, y, g_pMsgRecvWnd, prcRect);
    return 1;
}

int CMenuEx::CreateMneuPopupWnd(CWnd* pWnd, DWORD dwContainerID) {
    if (!g_pMsgRecvWnd) {
        try {
            g_pMsgRecvWnd = new (std::nothrow) CMsgRecvWnd(pWnd);
        } catch (...) {
            return 0;
        }
        if (!g_pMsgRecvWnd) return 0;
    }
    // The window is made once and stays the child of the window it was made under. A menu
    // whose owner could not be made could never report its choice: nothing is shown then.
    if (!g_pMsgRecvWnd->GetSafeHwnd() && !g_pMsgRecvWnd->CreateHidden(pWnd)) return 0;
    g_pMsgRecvWnd->m_dwContainerID = dwContainerID;
    g_pMsgRecvWnd->m_pParentWnd = pWnd;
    return 1;
}

// The hidden window stays for the rest of the process: every popup reuses it.
int CMenuEx::DeleteMneuPopupWnd() {
    return 1;
}

// ---- 2. CMsgRecvWnd: creation, OnCommand -------------------------------------------------------------------
BEGIN_MESSAGE_MAP(CMsgRecvWnd, CWnd)
ON_WM_MEASUREITEM()
END_MESSAGE_MAP()

CMsgRecvWnd::CMsgRecvWnd(CWnd* pParentWnd) : m_pParentWnd(pParentWnd) {}

BOOL CMsgRecvWnd::CreateHidden(CWnd* pParentWnd) {
    if (!pParentWnd || !pParentWnd->GetSafeHwnd()) return FALSE;
    return Create(AfxRegisterWndClass(0), kTitle, WS_CHILD, CRect(0, 0, 0, 0), pParentWnd, kControlID);
}

BOOL CMsgRecvWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    AFX_MANAGE_STATE(AfxGetAppModuleState());
    {
        CComPtr<CGlobalEnv> pEnv = CGlobalEnv::GetGlobalEnv();
        const HWND hMainWnd = pEnv ? pEnv->GetMainWnd() : nullptr;
        CViewManager::SendExDataMessage(hMainWnd, m_dwContainerID, WM_COMMAND, wParam, lParam);
    }  // the environment is released here
    return CWnd::OnCommand(wParam, lParam);
}

// ---- 3. CMsgRecvWnd: OnMeasureItem -------------------------------------------------------------------------
namespace {

// Depth first: the permanent CMenu of the menu that holds the item, which is either a
// sub-menu whose handle is the id or a command item with that id. Null when none holds
// it (or the menu that does has no permanent object).
CMenu* FindPopupMenuFromID(HMENU hMenu, UINT nID) {
    const int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        if (const HMENU hSub = ::GetSubMenu(hMenu, i)) {
            if (reinterpret_cast<UINT_PTR>(hSub) == UINT_PTR(nID)) return CMenu::FromHandlePermanent(hMenu);
            if (CMenu* pFound = FindPopupMenuFromID(hSub, nID)) return pFound;
        } else if (::GetMenuItemID(hMenu, i) == nID) {
            return CMenu::FromHandlePermanent(hMenu);
        }
    }
    return nullptr;
}

// The descendant window with that control id, searched breadth first below hParent.
HWND FindDescendant(HWND hParent, int nID) {
    for (HWND hChild = ::GetWindow(hParent, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        if (::GetDlgCtrlID(hChild) == nID) return hChild;
    for (HWND hChild = ::GetWindow(hParent, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        if (const HWND hFound = FindDescendant(hChild, nID)) return hFound;
    return nullptr;
}

constexpr UINT kReflectBase = 0xBC00;  // WM_USER + 0x7C00: a message reflected to its control

}  // namespace

void CMsgRecvWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    if (!lpMeasureItemStruct) {
        Default();
        return;
    }
    if (lpMeasureItemStruct->CtlType == ODT_MENU) {
        const AFX_MENU_TRACKING_STATE* pState = AfxGetMenuTrackingState();
        const HMENU hMenu = pState->m_hTrackingWindow == m_hWnd ? pState->m_hTrackingMenu : ::GetMenu(m_hWnd);
        // Without a menu there is nothing to measure against: the message goes to the
        // default processing instead of raising from inside a window procedure.
        if (hMenu)
            if (CMenu* pMenu = FindPopupMenuFromID(hMenu, lpMeasureItemStruct->itemID))
                pMenu->MeasureItem(lpMeasureItemStruct);
        Default();
        return;
    }
    if (const HWND hControl = FindDescendant(m_hWnd, int(lpMeasureItemStruct->CtlID))) {
        const LPARAM lParam = reinterpret_cast<LPARAM>(lpMeasureItemStruct);
        if (::SendMessageW(hControl, kReflectBase + WM_MEASUREITEM, WPARAM(nIDCtl), lParam)) return;
    }
    Default();
}
