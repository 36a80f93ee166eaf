// The MFC menu class CMenu, the resource look-up AfxFindResourceHandle and the per-thread
// record of the popup being tracked.
//
// Handle map, as for the GDI wrappers: a CMenu that attached a handle (Attach, CreateMenu,
// CreatePopupMenu, LoadMenu) is the handle's PERMANENT object until Detach or DestroyMenu.
// FromHandle returns it, or a TEMPORARY CMenu kept in the thread's temporary map and freed,
// with its handle left alone, by AfxDeleteTempMaps (the message loop's idle-time cleanup).
//
// Owner-drawn items: when the owner window of a tracked menu is a CWnd whose message map
// has no entry for WM_MEASUREITEM (WM_DRAWITEM), the menu's permanent CMenu gets the call
// through MeasureItem (DrawItem), as MFC's default CWnd handlers give it.
#pragma once

#include "afx/afx.h"
#include "afx/afxstr.h"
#include "win32/winuser.h"

class CWnd;

class CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)
public:
    CMenu() = default;
    // Destroys the menu still attached, as MFC does.
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;

    operator HMENU() const { return m_hMenu; }  // NOLINT(google-explicit-constructor)
    HMENU GetSafeHmenu() const { return m_hMenu; }
    BOOL operator==(const CMenu& menu) const { return m_hMenu == menu.m_hMenu; }
    BOOL operator!=(const CMenu& menu) const { return m_hMenu != menu.m_hMenu; }

    // ---- handle map
    static CMenu* PASCAL FromHandle(HMENU hMenu);  // permanent object, else a temporary; null for null
    static CMenu* PASCAL FromHandlePermanent(HMENU hMenu);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HMENU hMenu);
    HMENU Detach();

    // ---- creation and destruction
    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    BOOL LoadMenu(LPCTSTR lpszResourceName);  // from the module AfxFindResourceHandle names
    BOOL LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCE(nIDResource)); }
    BOOL DestroyMenu();

    // ---- items
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL RemoveMenu(UINT nPosition, UINT nFlags);
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    UINT GetMenuItemCount() const;
    UINT GetMenuItemID(int nPos) const;
    UINT GetMenuState(UINT nID, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    BOOL GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE);
    CMenu* GetSubMenu(int nPos) const;  // a temporary unless the sub-menu has a permanent CMenu

    // ---- tracking
    // Records the menu and the window in the thread's tracking state while the menu is open.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);

    // ---- owner-drawn items: do nothing here; menus that draw their items override them
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

private:
    friend struct AfxMenuMapAccess;
    bool m_bTemporary = false;
};

// What MFC's thread state records about the popup menu CMenu::TrackPopupMenu is tracking:
// the owner window and the menu, null outside tracking.
struct AFX_MENU_TRACKING_STATE {
    HWND m_hTrackingWindow = nullptr;
    HMENU m_hTrackingMenu = nullptr;
};
AFX_MENU_TRACKING_STATE* AfxGetMenuTrackingState();

// The module holding the resource: the module state's resource handle when it has it, else
// the first registered module that does, else the resource handle all the same.
HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);
