// The library's popup-menu class: a CMenu with a style (two process-wide modes, a
// palette of colours, item images, a left image strip and a background picture) and
// one record per owner-drawn item, which the item points to through its item data.
//
// The class paints and measures nothing itself: DrawItem and MeasureItem hand the call to
// CMenu. The protected drawing helpers (MenuExDraw.cpp) are the building blocks for a
// derived class that paints its own items. Popups are tracked on behalf of a window-less
// element through the hidden message window of MsgRecvWnd.h.
//
// Sources: MenuEx.cpp (model, styles, items, tool-bar images), MenuExDraw.cpp (drawing
// helpers), MsgRecvWnd.cpp (tracking and the command relay).
#pragma once

#include "platform.h"

// Where a menu opens from its point. The tab strip stores OPEN_UPWARD when it opens a
// menu upward from a bottom-aligned point; nothing in the library reads the value back.
enum OPEN_MODE : int {
    OPEN_DOWNWARD = 0,
    OPEN_UPWARD = 1,
};

// The menus' background mode. The tab strip declares this type opaquely and hands the
// value on; the values belong here.
enum MENUBK_MODE : int {
    MENUBK_LIGHT = 0,
    MENUBK_DARK = 1,
};

// The largest command a popup can relay to an element. The choice travels as WM_COMMAND,
// whose wParam holds the command in its low word: a larger id would arrive as another
// command (70000 as 4464). AppendMenuEx and ModifyMenuEx refuse a larger command (FALSE,
// the menu unchanged); menus built from host records show such an entry grayed, so it can
// never be chosen.
constexpr UINT kMaxRelayedCommandID = 0xFFFF;

// One owner-drawn item. Allocated on the heap, owned by the menu whose m_arrItems holds it.
struct tagMENUITEM {
    CString strText;         // may hold a tab and an accelerator text after it
    UINT nID = 0;            // command id; 0 a separator; 0xFFFFFFFF an item that opens a sub-menu
    int nImageIndex = -1;    // into pImageList; -1 = no image
    int nLeftImagePos = -1;  // left-strip slot; -1 = none
    int nReserved1 = -1;     // copied by GetMenuItem, otherwise not read
    CImageList* pImageList = nullptr;
    int nReserved2 = 0;  // copied by GetMenuItem, otherwise not read
};

class CToolBar;

class CMenuEx : public CMenu {
    DECLARE_DYNAMIC(CMenuEx)
public:
    // Sets the defaults, loads the background picture, then makes `open` and `bk` the
    // class-wide modes: the menu constructed last decides them for every menu.
    CMenuEx(OPEN_MODE open, MENUBK_MODE bk);
    // Frees, in order: the image list, the left strip, the sub-menus made by
    // ChangeMenuStyle, the item records, then the Windows menu.
    ~CMenuEx() override;
    CMenuEx(const CMenuEx&) = delete;
    CMenuEx& operator=(const CMenuEx&) = delete;

    static OPEN_MODE nMenuOpenFlag;
    static MENUBK_MODE nMenuBackGroundMode;

    // ---- style (the colour setters reach every sub-menu, depth first) --------------------------
    void SetBackGroundMode(MENUBK_MODE mode);
    void SetOpenMode(OPEN_MODE mode);
    void SetTextColor(COLORREF clr);
    void SetBackColor(COLORREF clr);
    void SetHighLightTextColor(COLORREF clr);
    void SetLeftColor(COLORREF clr);
    void SetHightLightRectColor(COLORREF clrFirst, COLORREF clrSecond);

    // ---- items ---------------------------------------------------------------------------------
    BOOL LoadMenuW(UINT nIDResource);
    BOOL LoadMenuW(const wchar_t* lpszResourceName);
    // No record. FALSE for a command above kMaxRelayedCommandID.
    BOOL AppendMenuEx(UINT nFlags, UINT nIDNewItem, const wchar_t* lpszNewItem);
    // Turns the item into an owner-drawn one with a record (made or updated). FALSE, and
    // nothing changed, for a command above kMaxRelayedCommandID.
    BOOL ModifyMenuEx(UINT nPosition, UINT nFlags, UINT nIDNewItem, const wchar_t* lpszNewItem);
    BOOL RemoveMenuEx(UINT nPosition, UINT nFlags);
    int GetMenuItem(UINT nID, tagMENUITEM* pItem);  // 1 and a copy of the first record with that id
    // Loads the left image strip; every record then gets left-strip slot 1.
    BOOL SetImageLeft(UINT nBitmapID, int nUnused);

    // ---- tracking (MsgRecvWnd.cpp) -----------------------------------------------------------------
    // Aims the hidden message window at containerID and tracks the menu with it as owner:
    // 1 once the menu has closed, 0 at once when the window cannot be prepared.
    int TrackPopupMenuWithContainerID(UINT nFlags, int x, int y, CWnd* pWnd, DWORD dwContainerID, const RECT* prcRect);

    // Hand the call to CMenu: this class draws and measures nothing itself.
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

    // Tiles the background picture over rc (MenuExDraw.cpp); draws nothing without one.
    void DrawBackPic(CDC* pDC, CRect& rc);

    // ---- fields, in the exported declaration order -----------------------------------------------
    int m_nLeftImageWidth = 0;
    int m_nLeftImageHeight = 0;
    CBitmap m_bmpLeft;  // owned
    BOOL m_bHasLeftImage = FALSE;
    COLORREF m_clrHighLightRect2 = RGB(68, 88, 249);
    COLORREF m_clrHighLightRect1 = RGB(68, 88, 249);
    COLORREF m_clrBack = RGB(253, 253, 253);
    COLORREF m_clrHighLightText = RGB(255, 255, 255);
    COLORREF m_clrLeft = RGB(253, 253, 253);
    CImageList m_ImageList;
    COLORREF m_clrText;  // GetSysColor(COLOR_MENUTEXT)
    int m_nImageWidth = 16;
    int m_nImageHeight = 15;
    CArray<CMenuEx*, CMenuEx*> m_arrSubMenu;        // made by ChangeMenuStyle; owned
    CArray<tagMENUITEM*, tagMENUITEM*> m_arrItems;  // owned
    CBitmap* m_pBackBmp = nullptr;                  // the bitmap factory's "menu" / "menu_pic.bmp"; not owned

protected:
    // ---- conversion and images (MenuEx.cpp) -----------------------------------------------------
    // Fills hTarget with owner-drawn copies of pSource's items, recursively; the menus it
    // makes belong to this one.
    void ChangeMenuStyle(CMenu* pSource, HMENU hTarget);
    // The images of a tool-bar resource become m_ImageList; the count of images, 0 when
    // there are none.
    int LoadToolBar(UINT nToolBarID, UINT nUnused);
    int GetImageFromToolBar(UINT nBitmapID, CToolBar* pBar, COLORREF clrMask, UINT nAltBitmapID);
    void CalculateLeftImagePos(CMenu* pMenu);
    void SetItemBackBmp(const wchar_t* lpszFile);
    void ChangeWindowRgn(CDC* pDC);  // does nothing

    // ---- the hidden message window (MsgRecvWnd.cpp) -------------------------------------------------
    int CreateMneuPopupWnd(CWnd* pWnd, DWORD dwContainerID);
    int DeleteMneuPopupWnd();

    // ---- drawing helpers (MenuExDraw.cpp) --------------------------------------------------------
    void TextMenu(CDC* pDC, CRect rcBack, CRect rcText, int bDrawBack, int bDisabled, tagMENUITEM* pItem);
    void GrayStringW(CDC* pDC, const CString& str, CRect rc);
    // Both move rc.left past what they drew, so that the caller draws the text in the rest.
    void DrawMenuItemImage(CDC* pDC, CRect& rc, int bSelected, int bChecked, int bDisabled, int bHasImage,
                           tagMENUITEM* pItem);
    void DrawImageLeft(CDC* pDC, CRect& rc, tagMENUITEM* pItem);
    void DrawCheck(CDC* pDC, int x, int y, COLORREF clr, int bShortStrokes);
    int DrawCheckmark(CDC* pDC, const CRect& rc, COLORREF& clr, int bSelected);
    COLORREF LightenColor(COLORREF clr, double dFactor);

private:
    tagMENUITEM* NewRecord(UINT nID, const CString& strText, CImageList* pImageList);
    tagMENUITEM* FindRecord(UINT nID, INT_PTR* pIndex = nullptr);
    void SetColorsForMode(MENUBK_MODE mode);
};
