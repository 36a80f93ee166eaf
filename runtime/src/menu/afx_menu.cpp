// CMenu: the per-thread handle maps, the Win32 wrappers, tracking with the thread's
// tracking record, AfxFindResourceHandle, and the owner-draw default MFC's CWnd gives.
//
// Index
//   1. Handle maps
//   2. CMenu
//   3. Tracking state and AfxFindResourceHandle
//   4. The owner-draw default
#include <unordered_map>

#include "afx/afxwin.h"
#include "menu/menu_private.h"
#include "res/res_private.h"

// ---- 1. Handle maps ------------------------------------------------------------------------------
struct AfxMenuMapAccess {
    static void SetTemporary(CMenu* p, bool temporary) { p->m_bTemporary = temporary; }
    static bool IsTemporary(const CMenu* p) { return p->m_bTemporary; }
};

namespace {

thread_local bool t_mapsGone = false;

struct MenuMaps {
    std::unordered_map<HMENU, CMenu*> permanent;
    std::unordered_multimap<HMENU, CMenu*> temporary;
    ~MenuMaps() { t_mapsGone = true; }
};

MenuMaps* Maps() {
    if (t_mapsGone) return nullptr;  // the thread is exiting: wrappers only let go of handles
    thread_local MenuMaps maps;
    return &maps;
}

void ForgetTemporary(CMenu* p) {
    MenuMaps* maps = Maps();
    if (!maps || !AfxMenuMapAccess::IsTemporary(p)) return;
    for (auto it = maps->temporary.begin(); it != maps->temporary.end(); ++it) {
        if (it->second == p) {
            maps->temporary.erase(it);
            break;
        }
    }
    AfxMenuMapAccess::SetTemporary(p, false);
}

}  // namespace

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu* PASCAL CMenu::FromHandlePermanent(HMENU hMenu) {
    MenuMaps* maps = Maps();
    if (!maps || !hMenu) return nullptr;
    const auto it = maps->permanent.find(hMenu);
    return it == maps->permanent.end() ? nullptr : it->second;
}

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu) {
    if (!hMenu) return nullptr;
    if (CMenu* p = FromHandlePermanent(hMenu)) return p;
    MenuMaps* maps = Maps();
    if (!maps) return nullptr;
    const auto it = maps->temporary.find(hMenu);
    if (it != maps->temporary.end()) return it->second;
    CMenu* p = new CMenu;
    p->m_hMenu = hMenu;
    AfxMenuMapAccess::SetTemporary(p, true);
    maps->temporary.emplace(hMenu, p);
    return p;
}

void PASCAL CMenu::DeleteTempMap() {
    MenuMaps* maps = Maps();
    if (!maps) return;
    std::unordered_multimap<HMENU, CMenu*> doomed;
    doomed.swap(maps->temporary);
    for (auto& entry : doomed) {
        CMenu* p = entry.second;
        AfxMenuMapAccess::SetTemporary(p, false);
        p->m_hMenu = nullptr;  // the handle is not the temporary's to destroy
        delete p;
    }
}

// ---- 2. CMenu ---------------------------------------------------------------------------------------
CMenu::~CMenu() {
    if (m_bTemporary) {
        ForgetTemporary(this);
        m_hMenu = nullptr;
    }
    DestroyMenu();
}

BOOL CMenu::Attach(HMENU hMenu) {
    ASSERT(m_hMenu == nullptr);  // detach the previous menu first
    if (!hMenu) return FALSE;
    m_hMenu = hMenu;
    if (MenuMaps* maps = Maps()) maps->permanent[hMenu] = this;
    return TRUE;
}

HMENU CMenu::Detach() {
    const HMENU h = m_hMenu;
    if (h) {
        if (MenuMaps* maps = Maps()) {
            const auto it = maps->permanent.find(h);
            if (it != maps->permanent.end() && it->second == this) maps->permanent.erase(it);
        }
    }
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::CreateMenu() {
    return Attach(::CreateMenu());
}

BOOL CMenu::CreatePopupMenu() {
    return Attach(::CreatePopupMenu());
}

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName) {
    return Attach(::LoadMenuW(AfxFindResourceHandle(lpszResourceName, RT_MENU), lpszResourceName));
}

BOOL CMenu::DestroyMenu() {
    if (!m_hMenu) return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ::InsertMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ::ModifyMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) {
    return ::RemoveMenu(m_hMenu, nPosition, nFlags);
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    return UINT(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}

UINT CMenu::GetMenuItemCount() const {
    return UINT(::GetMenuItemCount(m_hMenu));
}

UINT CMenu::GetMenuItemID(int nPos) const {
    return ::GetMenuItemID(m_hMenu, nPos);
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const {
    return ::GetMenuState(m_hMenu, nID, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const {
    return ::GetMenuStringW(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    const int length = ::GetMenuStringW(m_hMenu, nIDItem, nullptr, 0, nFlags);
    std::vector<wchar_t> buffer(size_t(length > 0 ? length : 0) + 1, L'\0');
    const int copied = ::GetMenuStringW(m_hMenu, nIDItem, buffer.data(), int(buffer.size()), nFlags);
    rString = buffer.data();
    return copied;
}

BOOL CMenu::GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) {
    return ::GetMenuItemInfoW(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

CMenu* CMenu::GetSubMenu(int nPos) const {
    return FromHandle(::GetSubMenu(m_hMenu, nPos));
}

namespace {

// Keeps the thread's tracking record for the duration of one TrackPopupMenu.
class TrackingScope {
public:
    TrackingScope(HWND owner, HMENU menu) : state_(AfxGetMenuTrackingState()), saved_(*state_) {
        state_->m_hTrackingWindow = owner;
        state_->m_hTrackingMenu = menu;
    }
    ~TrackingScope() { *state_ = saved_; }
    TrackingScope(const TrackingScope&) = delete;
    TrackingScope& operator=(const TrackingScope&) = delete;

private:
    AFX_MENU_TRACKING_STATE* state_;
    AFX_MENU_TRACKING_STATE saved_;
};

}  // namespace

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    const HWND owner = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    TrackingScope scope(owner, m_hMenu);
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, owner, lpRect);
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}

// ---- 3. Tracking state and AfxFindResourceHandle ------------------------------------------------------
AFX_MENU_TRACKING_STATE* AfxGetMenuTrackingState() {
    thread_local AFX_MENU_TRACKING_STATE state;  // MFC keeps it in the thread state
    return &state;
}

HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType) {
    const HINSTANCE preferred = AfxGetResourceHandle();
    res::Type type;
    if (!res::TypeOf(lpszType, &type)) return preferred;
    if (res::Find(preferred, lpszName, type)) return preferred;
    HINSTANCE holder = nullptr;
    if (res::Find(nullptr, lpszName, type, &holder)) return holder;
    return preferred;
}

// ---- 4. The owner-draw default ------------------------------------------------------------------------
// A window's WM_MEASUREITEM / WM_DRAWITEM for a menu, when its message map has no handler of
// its own, reaches the permanent CMenu of the menu that holds the item.
namespace {

// Depth first: the permanent CMenu of the menu that holds the command or opens the sub-menu.
CMenu* FindPopupMenuFromID(HMENU hMenu, UINT nID, int depth = 0) {
    const int nCount = depth < 64 ? ::GetMenuItemCount(hMenu) : 0;
    for (int i = 0; i < nCount; ++i) {
        const HMENU hSub = ::GetSubMenu(hMenu, i);
        if (hSub ? reinterpret_cast<UINT_PTR>(hSub) == UINT_PTR(nID) : ::GetMenuItemID(hMenu, i) == nID)
            return CMenu::FromHandlePermanent(hMenu);
        if (hSub)
            if (CMenu* found = FindPopupMenuFromID(hSub, nID, depth + 1)) return found;
    }
    return nullptr;
}

}  // namespace

void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    if (lpMeasureItemStruct && lpMeasureItemStruct->CtlType == ODT_MENU) {
        const AFX_MENU_TRACKING_STATE* state = AfxGetMenuTrackingState();
        const HMENU hMenu = state->m_hTrackingWindow == m_hWnd ? state->m_hTrackingMenu : ::GetMenu(m_hWnd);
        if (CMenu* menu = hMenu ? FindPopupMenuFromID(hMenu, lpMeasureItemStruct->itemID) : nullptr) {
            menu->MeasureItem(lpMeasureItemStruct);
            return;
        }
    }
    Default();
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (lpDrawItemStruct && lpDrawItemStruct->CtlType == ODT_MENU) {
        if (CMenu* menu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lpDrawItemStruct->hwndItem))) {
            menu->DrawItem(lpDrawItemStruct);
            return;
        }
    }
    Default();
}
