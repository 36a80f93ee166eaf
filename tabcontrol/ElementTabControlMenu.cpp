// The tabs' drop-down menus: building a tab's popup from its menu records and tracking
// it through the hidden message window, the chosen command renaming its tab, the menu
// records, the arrow pictures and the menu style.
//
// Index
//   1. Opening a tab's menu (OpenItemMenu, BuildMenu, BuildSubMenu)
//   2. Commands and renaming by command
//   3. Menu records, style and arrows
#include <algorithm>

#include "ElementTabControl.h"
#include "TabControlConstants.h"
#include "menu/MenuEx.h"

using namespace tabcontrol;

// ---- 1. Opening a tab's menu -----------------------------------------------------------------------
namespace {

constexpr int kColumnLength = 12;  // a plain entry whose count is a multiple of this starts a column
constexpr int kTopMenuInsetX = 6;  // a top strip's menu opens 6 left of the tab's right edge
constexpr int kTopMenuInsetY = 7;  // and 7 above its bottom edge

// Where the popup opens, in element coordinates, with its TPM flags and open mode.
struct MenuPlacement {
    POINT element_pt;
    UINT nFlags;
    OPEN_MODE nOpenMode;
};

MenuPlacement PlaceMenu(int nTabPos, const CRect& rcItem) {
    if (nTabPos == kSideTop)
        return {POINT{SatAdd(rcItem.right, -kTopMenuInsetX), SatAdd(rcItem.bottom, -kTopMenuInsetY)}, TPM_RIGHTBUTTON,
                OPEN_DOWNWARD};
    if (nTabPos == kSideBottom)  // opens upward from the tab's top-left corner
        return {POINT{rcItem.left, rcItem.top}, TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, OPEN_UPWARD};
    return {POINT{rcItem.right, rcItem.bottom}, TPM_RIGHTBUTTON, OPEN_DOWNWARD};
}

UINT PlainEntryFlags(const _MENU_STR_CMD_& entry, int nSelCmdID, int nPlaced) {
    UINT nFlags = MF_STRING;
    if (entry.nCmdID == nSelCmdID) nFlags |= MF_CHECKED;
    // A command the relay cannot carry whole would rename the tab after another entry.
    if (UINT(entry.nCmdID) > kMaxRelayedCommandID) nFlags |= MF_GRAYED;
    if (nPlaced % kColumnLength == 0) nFlags |= MF_MENUBREAK;  // also for the first, where it shows nothing
    return nFlags;
}

CMenuEx* NewPopupMenu(int nOpenMode, int nStyle) {
    auto* pMenu = new CMenuEx(static_cast<OPEN_MODE>(nOpenMode), static_cast<MENUBK_MODE>(nStyle));
    pMenu->Attach(::CreatePopupMenu());
    return pMenu;
}

// What every sub-menu of one opening shares.
struct SubMenuBuild {
    const std::vector<_MENU_STR_CMD_>* pEntries;
    std::vector<CMenuEx*>* pOwned;  // the control's m_vecSubMenu
    int nOpenMode;
    int nStyle;
    int nSelCmdID;
};

// Fills a sub-menu with the entries naming nCmdID as parent and appends it to its parent
// as one item. Host records may name each other as parents in a circle: a sub-menu whose
// command is already open on the way down is left out, so the building ends.
void FillSubMenu(const SubMenuBuild& build, CMenuEx* pSubMenu, CMenuEx* pParent, int nCmdID, const wchar_t* lpszText,
                 std::vector<int>& path) {
    path.push_back(nCmdID);
    int nPlaced = 0;  // plain entries only: an item that opens a sub-menu does not count
    for (const _MENU_STR_CMD_& entry : *build.pEntries) {
        if (entry.nParentID != nCmdID) continue;
        if (!entry.bHasSub) {
            ::AppendMenuW(pSubMenu->GetSafeHmenu(), PlainEntryFlags(entry, build.nSelCmdID, nPlaced),
                          UINT(entry.nCmdID), entry.strText.GetString());
            ++nPlaced;
            continue;
        }
        if (std::find(path.begin(), path.end(), entry.nCmdID) != path.end()) continue;
        CMenuEx* pNested = NewPopupMenu(build.nOpenMode, build.nStyle);
        FillSubMenu(build, pNested, pSubMenu, entry.nCmdID, entry.strText.GetString(), path);
        build.pOwned->push_back(pNested);
    }
    path.pop_back();
    // The parent's loop waits for this: the item stands at its entry's place.
    ::AppendMenuW(pParent->GetSafeHmenu(), MF_POPUP, reinterpret_cast<UINT_PTR>(pSubMenu->GetSafeHmenu()), lpszText);
}

}  // namespace

// Builds and tracks the popup of a tab; returns once the menu has closed. The choice, if
// any, arrives later through the host as OnMenuCommand.
void CElementTabControl::OpenItemMenu(CQuoteTabItem* pItem, const CRect& rcItem) {
    CMenuEx menu(static_cast<OPEN_MODE>(m_nMenuOpenMode), static_cast<MENUBK_MODE>(m_nMenuStyle));
    const MenuPlacement placement = PlaceMenu(m_nTabPos, rcItem);
    m_nMenuOpenMode = placement.nOpenMode;
    CMenuEx::nMenuOpenFlag = placement.nOpenMode;
    menu.Attach(::CreatePopupMenu());
    BuildMenu(pItem, &menu, 0);

    const HWND hHostWnd = GetVMWindow();
    CRect window_rect(0, 0, 0, 0);
    if (hHostWnd) ::GetWindowRect(hHostWnd, &window_rect);
    CRect container_rect(0, 0, 0, 0);
    GetContainerRect(&container_rect);
    const POINT screen_pt{SatAdd(SatAdd(placement.element_pt.x, window_rect.left), container_rect.left),
                          SatAdd(SatAdd(placement.element_pt.y, window_rect.top), container_rect.top)};
    SetFocus();
    menu.TrackPopupMenuWithContainerID(placement.nFlags, screen_pt.x, screen_pt.y, CWnd::FromHandle(hHostWnd), GetID(),
                                       nullptr);

    // Freed whether or not the menu could be shown.
    for (CMenuEx* pSubMenu : m_vecSubMenu) delete pSubMenu;
    m_vecSubMenu.clear();
    menu.DestroyMenu();
}

void CElementTabControl::BuildMenu(CQuoteTabItem* pItem, CMenuEx* pMenu, UINT /*nUnused*/) {
    if (!pItem || !pMenu) return;
    int nPlaced = 0;  // top-level items so far: plain entries and sub-menu items both count
    for (const _MENU_STR_CMD_& entry : pItem->m_vecMenu) {
        if (entry.nParentID != -1) continue;  // BuildSubMenu places these
        if (entry.bHasSub) {
            CMenuEx* pSubMenu = NewPopupMenu(m_nMenuOpenMode, m_nMenuStyle);
            BuildSubMenu(&pItem->m_vecMenu, pSubMenu, pMenu, entry.nCmdID, entry.strText.GetString(),
                         pItem->m_nSelMenuID);
            m_vecSubMenu.push_back(pSubMenu);
        } else {
            ::AppendMenuW(pMenu->GetSafeHmenu(), PlainEntryFlags(entry, pItem->m_nSelMenuID, nPlaced),
                          UINT(entry.nCmdID), entry.strText.GetString());
        }
        ++nPlaced;
    }
}

void CElementTabControl::BuildSubMenu(std::vector<_MENU_STR_CMD_>* pEntries, CMenuEx* pSubMenu, CMenuEx* pParent,
                                      int nCmdID, const wchar_t* lpszText, int nSelCmdID) {
    if (!pEntries || !pSubMenu || !pParent) return;
    const SubMenuBuild build{pEntries, &m_vecSubMenu, m_nMenuOpenMode, m_nMenuStyle, nSelCmdID};
    std::vector<int> path;  // the sub-menus open on the way down, by command
    FillSubMenu(build, pSubMenu, pParent, nCmdID, lpszText, path);
}

// ---- 2. Commands and renaming by command --------------------------------------------------------------
int CElementTabControl::OnMenuCommand(DWORD dwCmd) {
    PostControlMessage(kMsgMenuCommand, WPARAM(dwCmd), 0);
    UpdateItemNameBySelectMenu(dwCmd);
    return 1;
}

// The first tab, in display order, holding an entry with that command takes the entry's
// text as its name; only that one tab changes. Returns it, or null.
CQuoteTabItem* CElementTabControl::RenameItemByCommand(DWORD dwCmd) {
    if (dwCmd == 0xFFFFFFFFu) return nullptr;
    const int nCmdID = static_cast<int>(dwCmd);
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) {
        CQuoteTabItem* pItem = m_arrItems[i];
        for (const _MENU_STR_CMD_& entry : pItem->m_vecMenu) {
            if (entry.nCmdID != nCmdID) continue;
            const long long nOld = GetCurTextExtent(pItem->m_strName.GetString()).cx;
            pItem->m_strName = entry.strText;
            pItem->m_nSelMenuID = nCmdID;
            const long long nNew = GetCurTextExtent(pItem->m_strName.GetString()).cx;
            pItem->m_nWidth = ClampToInt(pItem->m_nWidth + nNew - nOld);
            return pItem;
        }
    }
    return nullptr;
}

void CElementTabControl::UpdateItemNameBySelectMenu(DWORD dwCmd) {
    CQuoteTabItem* pItem = RenameItemByCommand(dwCmd);
    if (!pItem) return;
    // The selection follows the menu only when some tab was selected; nothing is posted.
    if (ValidIndex(m_nSelTab) && m_arrItems[m_nSelTab]->m_nID != pItem->m_nID)
        FindTabID(pItem->m_nID, m_nSelTab);
    SetTabAndTextbtnRect();
    InvalidContainerRect(kRepaintFlag, nullptr);
}

void CElementTabControl::UpdateItemNameByMenuID(DWORD dwCmd) {
    if (!RenameItemByCommand(dwCmd)) return;
    SetTabAndTextbtnRect();
    InvalidContainerRect(kRepaintFlag, nullptr);
}

// ---- 3. Menu records, style and arrows -----------------------------------------------------------------
void CElementTabControl::UpdateItemMenuInfoByTabID(int nID, _MENU_CMD_INFO_* pInfo) {
    CQuoteTabItem* pItem = FindItemByID(nID);
    if (!pItem) return;
    // Room for the arrow, before the record is looked at: a null record widens the tab
    // again at every call (intended).
    if (pItem->m_vecMenu.empty())
        pItem->m_nWidth = ClampToInt(static_cast<long long>(pItem->m_nWidth) + m_nArrowMargin - m_nRightBmpWidth + 9);
    if (!pInfo) return;
    pItem->m_vecMenu = pInfo->vecMenu;
    pItem->m_nSelMenuID = pInfo->nSelCmdID;
    UpdateItemNameByMenuID(static_cast<DWORD>(pInfo->nSelCmdID));
}

void CElementTabControl::SelectMenuByID(int nID, int nCmdID) {
    CQuoteTabItem* pItem = FindItemByID(nID);
    if (!pItem) return;
    pItem->m_nSelMenuID = nCmdID;
    UpdateItemNameByMenuID(static_cast<DWORD>(nCmdID));
}

void CElementTabControl::SetMenuStyle(MENUBK_MODE nStyle) {
    m_nMenuStyle = static_cast<int>(nStyle);
}

// Every paint loads the skin's arrows again: these count only until the next paint.
void CElementTabControl::SetMenuArrowPic(const wchar_t* lpszNormal, const wchar_t* lpszSelected) {
    CComPtr<IBitmapFactory> pFactory = GetEnvBitmapFactory();
    if (!pFactory) return;
    m_pArrowBmp = pFactory->GetFolderBitmap(kSkinFolder, lpszNormal);
    m_pArrowSelBmp = pFactory->GetFolderBitmap(kSkinFolder, lpszSelected);
}
