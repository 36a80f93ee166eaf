// The quote tab strip: a row of skinned tabs, some with a drop-down menu, beside a
// row of small text buttons. A click on a tab posts 1324 with its ID, a click on a
// text button 1325 with the button's ID, a menu command 1326 with the command ID.
//
// The implementation is split by concern:
//   ElementTabControl.cpp        construction, skin, tabs and text buttons, configuration
//   ElementTabControlLayout.cpp  rectangles and widths
//   ElementTabControlPaint.cpp   painting
//   ElementTabControlMouse.cpp   hit testing, hover, cursor, selection, renaming
//   ElementTabControlMenu.cpp    the menu records of the tabs and the menu commands
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "QuoteTabItem.h"
#include "TextExtentCache.h"
#include "frame/ElementContainer.h"
#include "frame/HostServices.h"
#include "frame/LightCanvas.h"
#include "frame/MemDC.h"

class CMenuEx;

class CElementTabControl : public CElementContainer {
public:
    explicit CElementTabControl(int bTextBottom = 0);
    ~CElementTabControl() override;
    CElementTabControl(const CElementTabControl&) = delete;
    CElementTabControl& operator=(const CElementTabControl&) = delete;

    // ---- the host contract ------------------------------------------------------------
    int InitObject(const wchar_t* name, _CONTAINER_INFO* info) override;
    int OnPaint(CPaintDC* pDC) override;
    int OnLButtonDown(POINT pt) override;
    int OnLButtonUp(POINT pt) override;
    int OnSize(UINT nType, int cx, int cy) override;
    int OnMouseMove(int x, int y, DWORD dwFlags) override;
    int OnMenuCommand(DWORD dwCmd) override;
    int OnSetCursor(UINT nHitTest, LPARAM lParam) override;
    int OnMouseLeave() override;

    // ---- tabs ---------------------------------------------------------------------------
    int Add(_TAB_PARAM_INFO_* pInfo);  // new index, -1 for a duplicate ID
    // An index above the count appends; a negative one raises CInvalidArgException.
    void InsertTabItem(int nIndex, _TAB_PARAM_INFO_* pInfo);
    int BuildTabItem(_TAB_PARAM_INFO_* pInfo, CQuoteTabItem* pItem);
    int DelItem(int nID);
    int SwapWithIndex(int i, int j);
    int SetItemVisibleByID(int nID, int bVisible);
    int GetItemVisibleFromID(int nID, int& bVisible);

    // ---- text buttons ---------------------------------------------------------------------
    void AddTextButton(const wchar_t* lpszText, int nID, const wchar_t* lpszColor, const wchar_t* lpszHotColor,
                       const wchar_t* lpszImage, const wchar_t* lpszHotImage, int bLineFont, CString strExtra);
    int SetBtnTextByID(int nID, const wchar_t* lpszText);
    int SetTextBtnVisibleByID(int nID, int bVisible);
    int GetTextBtnVisibleFromID(int nID, int& bVisible);

    // ---- configuration --------------------------------------------------------------------
    void SetStyle(int nStyle, int nTabAlign, int nTabPos);
    void SetTabBtnAglin(DIRECT nAlign);
    int SetTabArrangement(TAB_ARRANGEMENT nArrangement);
    int SetTabHeight(int nHeight);
    int SetTabWidth(int nWidth);
    void SetTabbkDrawType(int nType);
    bool SetTabBKbmp(const wchar_t* lpszBmp);
    void SetBkColor(COLORREF clr);
    void SetGrayBkColor(int nMode);
    int GetGrayBkColor();
    void GetTabAreaRect(RECT* prc);

    // ---- selection, names, widths ----------------------------------------------------------
    int SetSelectedTab(int nID);  // posts nothing, repaints nothing
    int FindTabID(int nID, int& nIndex);
    int ChangeItemNameByID(int nID, const wchar_t* lpszName);
    int SetItemWidthWithMargin(int nID, int nMargin);
    void SetLimitMaxWidth(int nLimit);
    int GetAllTabItemWidth();
    int GetVisibleCount();
    DWORD GetColorEx(const wchar_t* lpszKey);

    // ---- menus ------------------------------------------------------------------------------
    void SetMenuArrowPic(const wchar_t* lpszNormal, const wchar_t* lpszSelected);
    void SetMenuStyle(MENUBK_MODE nStyle);
    void SelectMenuByID(int nID, int nCmdID);
    void UpdateItemMenuInfoByTabID(int nID, _MENU_CMD_INFO_* pInfo);

    // ---- exported statics ---------------------------------------------------------------------
    static HCURSOR m_hcurHover;          // IDC_HAND, loaded with the library
    static HCURSOR m_hcurNormal;         // IDC_ARROW, loaded with the library
    static const int m_nArrayWidth = 5;  // exported; no operation reads it

    // ---- state, in the exported declaration order ---------------------------------------------
    CArray<CQuoteTabItem*, CQuoteTabItem*> m_arrItems;  // display order; owned
    CArray<_TEXT_BUTTON, _TEXT_BUTTON&> m_arrTextBtn;
    std::vector<CMenuEx*> m_vecSubMenu;  // submenus of the open menu; owned while it is open
    int m_nLeftBmpWidth = 0;             // of the tab built last
    int m_nRightBmpWidth = 0;            // of the tab built last
    int m_nGrayBkColor = 0;              // last SetGrayBkColor value
    int m_nTabHeight = 14;
    int m_nTabWidth = 100;  // strip width on the left side
    int m_nTabBkDrawType = 1;
    int m_nTabArrangement = TAB_SIDE_BY_SIDE;
    int m_nArrowMargin = 10;
    int m_bBmpBk = 1;  // 1: bitmap background, 0: colour
    int m_bHandCursor = 0;
    bool m_bDrawRedLine = true;
    bool m_bTabButtNeedActive = false;
    int m_nSelTab = -1;
    int m_nTextBtnAlign = DIRECT_FOLLOW_TABS;
    int m_nMenuOpenMode = 0;
    int m_nMenuStyle = 0;
    CString m_strTabBkBmp{L"Tab_Bk4.bmp"};
    COLORREF m_clrBk = RGB(255, 255, 255);
    COLORREF m_clrKey = RGB(255, 255, 0);
    CBitmap* m_pArrowBmp = nullptr;  // the skin's; never deleted here
    CBitmap* m_pArrowSelBmp = nullptr;
    CFont* m_pFont = nullptr;  // also the font every text width is measured in
    CFont* m_pBoldFont = nullptr;
    CFont* m_pLineFont = nullptr;
    int m_nStyle = 1;
    int m_nTabAlign = 2;  // 0 left, 1 right, 2 centred
    int m_nTabPos = 0;    // 0 top, 2 left, 3 bottom, else the whole element
    int m_nHotTab = -1;
    int m_bTextBottom = 0;

private:
    friend struct TabControlTestAccess;  // unit tests reach the private operations

    // ---- construction and configuration (ElementTabControl.cpp) -----------------------------
    int InitTabItemColor(_TAB_PARAM_INFO_* pInfo);
    void CustomCalcBmpSize(CString strName);
    int GetItemRect(int nIndex, RECT* prc);
    void GetTabName(int nIndex, CString& strName);
    CQuoteTabItem* GetItem(int nIndex);
    int AddItem(CQuoteTabItem* pItem);
    void SetItemNULLRect(CQuoteTabItem* pItem);
    int SetTextBtnNULLRect(unsigned int nIndex);
    void SetDrawRedLine(bool bDraw);
    bool IsDrawRedLine();
    void TabButtNeedActive(bool bNeed);
    void SetTabHeightFromBKbmp();
    void GetBmpSize(CString strName, int& nWidth, int& nHeight);
    void BitmapSize();
    int GetSelectedTab();
    void GetClientRectEx(RECT* prc);
    CSize GetCurTextExtent(const wchar_t* lpszText);
    void SetSelectedTab(int nIndex, bool bNotify, bool bUnused);
    CQuoteTabItem* FindItemByID(int nID);
    std::unordered_map<int, int>& TabIdCounts();
    void StoreItem(INT_PTR nAt, CQuoteTabItem* pItem);

    // ---- indexes: every check in one place ------------------------------------------------------
    // Whether nIndex names a tab in display order, and the tab it names (null when none).
    bool ValidIndex(INT_PTR nIndex) const { return nIndex >= 0 && nIndex < m_arrItems.GetSize(); }
    CQuoteTabItem* ItemAt(INT_PTR nIndex) const { return ValidIndex(nIndex) ? m_arrItems[nIndex] : nullptr; }
    // The index-taking calls raise on a negative index, as the item array would; an index
    // past the end is no tab.
    static void RejectNegativeIndex(int nIndex);

    // ---- layout (ElementTabControlLayout.cpp) -------------------------------------------------
    void SetTabAndTextbtnRect();
    void PlaceTextButtons(const CRect& rcDraw);
    void ReCalculateTabSize();
    void DivideItem(CQuoteTabItem* pItem, const CRect& rcStrip);
    int GetTabItemOriginalWidth();
    int GetTabItemMinWidth();
    int GetItemMinWidth(CQuoteTabItem* pItem);
    int GetLastVisibleItemIndex();
    CQuoteTabItem* GetBeforeVisibleItem(int nIndex);
    void GetItemArrowRect(CRect& rcItem, CRect& rcArrow);
    int Overlap() const;
    struct VisibleTotals {
        int nCount;     // GetVisibleCount
        int nWidth;     // GetAllTabItemWidth
        int nOrgWidth;  // GetTabItemOriginalWidth
    };
    VisibleTotals SumVisibleTabs();

    // ---- painting (ElementTabControlPaint.cpp) ------------------------------------------------
    int GetColorBmpAndFont(CComPtr<IBitmapFactory> pFactory, CComPtr<CSWPalette> pPalette);
    void DrawTabItem(CMemDC& dc, CLightCanvas& canvas, CComPtr<IBitmapFactory> pFactory, CComPtr<CSWPalette> pPalette,
                     CRect& rcDraw, const CRect& rcStrip);
    void DrawStripBackground(CLightCanvas& canvas, IBitmapFactory* pFactory, const CRect& rcDraw);
    void DrawItemBitmap(CQuoteTabItem* pItem, CMemDC& dc, CLightCanvas& canvas, CComPtr<IBitmapFactory> pFactory,
                        CComPtr<CSWPalette> pPalette, CRect& rcDraw, int bSelected, int bHot);
    void DrawWhiteArrow(CMemDC& dc, CLightCanvas& canvas, CComPtr<IBitmapFactory> pFactory);
    void DrawTextBtn(CMemDC& dc, CLightCanvas& canvas, CComPtr<IBitmapFactory> pFactory, CComPtr<CSWPalette> pPalette);

    // ---- mouse (ElementTabControlMouse.cpp) ----------------------------------------------------
    void ClickItem(int nIndex, POINT pt);
    bool ClickOpensMenu(CQuoteTabItem* pItem, POINT pt);
    void InvalidateStrip();

    // ---- menus (ElementTabControlMenu.cpp) -------------------------------------------------------
    // Where a tab's drop-down menu is built and tracked; it returns once the menu is closed.
    void OpenItemMenu(CQuoteTabItem* pItem, const CRect& rcItem);
    void BuildMenu(CQuoteTabItem* pItem, CMenuEx* pMenu, UINT nUnused);
    void BuildSubMenu(std::vector<_MENU_STR_CMD_>* pEntries, CMenuEx* pSubMenu, CMenuEx* pParent, int nCmdID,
                      const wchar_t* lpszText, int nSelCmdID);
    void UpdateItemNameBySelectMenu(DWORD dwCmd);
    void UpdateItemNameByMenuID(DWORD dwCmd);
    CQuoteTabItem* RenameItemByCommand(DWORD dwCmd);

    // Text widths for the font they were measured in; cleared when that font changes (a
    // reskin swaps font contents in place).
    tabcontrol::TextExtentCache m_textExtentCache;

    // How many tabs carry each ID, kept beside m_arrItems by the operations that store and
    // remove tabs, so that Add's duplicate check does not walk the strip: a million tabs add
    // in linear time. An array resized or moved behind the control's back is counted again
    // at the next look-up; IDs are the control's to set (BuildTabItem).
    struct TabIdIndex {
        std::unordered_map<int, int> counts;
        const CQuoteTabItem* const* data = nullptr;  // m_arrItems as last counted
        INT_PTR size = 0;
    };
    TabIdIndex m_tabIds;

    // The tabs whose arrow may show in the current paint, found by the paint's one walk
    // over the tabs and drawn after every cell; its storage is kept from paint to paint.
    std::vector<INT_PTR> m_arrowTabs;
};
