// CMenuEx: construction and destruction, the style setters, item records, the
// conversion of a menu tree into owner-drawn items, and the images of a tool bar.
//
// Index
//   1. Statics, construction, destruction
//   2. Style
//   3. Items and records
//   4. ChangeMenuStyle
//   5. Tool-bar images and the left strip
#include "MenuEx.h"

#include "frame/HostServices.h"

namespace {

constexpr COLORREF kLightBack = RGB(253, 253, 253);
constexpr COLORREF kDarkBack = RGB(72, 72, 72);
constexpr UINT kSubMenuID = 0xFFFFFFFFu;  // the record id of an item that opens a sub-menu
constexpr const wchar_t* kBackBmpFolder = L"menu";
constexpr const wchar_t* kBackBmpFile = L"menu_pic.bmp";

// The temporary tool bar LoadToolBar reads a resource through.
constexpr DWORD kToolBarCtrlStyle = TBSTYLE_FLAT;
constexpr DWORD kToolBarStyle = 0x50402834;
constexpr COLORREF kToolBarMask = RGB(192, 192, 192);
constexpr int kImageListGrow = 5;

}  // namespace

// ---- 1. Statics, construction, destruction ------------------------------------------------------------
IMPLEMENT_DYNAMIC(CMenuEx, CMenu)

OPEN_MODE CMenuEx::nMenuOpenFlag = OPEN_DOWNWARD;
MENUBK_MODE CMenuEx::nMenuBackGroundMode = MENUBK_LIGHT;

CMenuEx::CMenuEx(OPEN_MODE open, MENUBK_MODE bk) : m_clrText(::GetSysColor(COLOR_MENUTEXT)) {
    SetItemBackBmp(kBackBmpFile);
    nMenuOpenFlag = open;
    nMenuBackGroundMode = bk;
    SetColorsForMode(bk);
}

CMenuEx::~CMenuEx() {
    m_ImageList.DeleteImageList();
    if (m_bHasLeftImage) m_bmpLeft.DeleteObject();
    for (INT_PTR i = 0; i < m_arrSubMenu.GetSize(); ++i) delete m_arrSubMenu[i];
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) delete m_arrItems[i];
    CMenu::DestroyMenu();
    m_arrSubMenu.RemoveAll();
    m_arrItems.RemoveAll();
}

// ---- 2. Style ----------------------------------------------------------------------------------------------
// Modes other than light and dark leave the colours alone.
void CMenuEx::SetColorsForMode(MENUBK_MODE mode) {
    if (mode == MENUBK_LIGHT) {
        m_clrBack = kLightBack;
        m_clrLeft = kLightBack;
    } else if (mode == MENUBK_DARK) {
        m_clrBack = kDarkBack;
        m_clrLeft = kDarkBack;
    }
}

void CMenuEx::SetBackGroundMode(MENUBK_MODE mode) {
    nMenuBackGroundMode = mode;
    SetColorsForMode(mode);
}

void CMenuEx::SetOpenMode(OPEN_MODE mode) {
    nMenuOpenFlag = mode;
}

void CMenuEx::SetTextColor(COLORREF clr) {
    m_clrText = clr;
    for (INT_PTR i = 0; i < m_arrSubMenu.GetSize(); ++i) m_arrSubMenu[i]->SetTextColor(clr);
}

void CMenuEx::SetBackColor(COLORREF clr) {
    m_clrBack = clr;
    for (INT_PTR i = 0; i < m_arrSubMenu.GetSize(); ++i) m_arrSubMenu[i]->SetBackColor(clr);
}

void CMenuEx::SetHighLightTextColor(COLORREF clr) {
    m_clrHighLightText = clr;
    for (INT_PTR i = 0; i < m_arrSubMenu.GetSize(); ++i) m_arrSubMenu[i]->SetHighLightTextColor(clr);
}

void CMenuEx::SetLeftColor(COLORREF clr) {
    m_clrLeft = clr;
    for (INT_PTR i = 0; i < m_arrSubMenu.GetSize(); ++i) m_arrSubMenu[i]->SetLeftColor(clr);
}

void CMenuEx::SetHightLightRectColor(COLORREF clrFirst, COLORREF clrSecond) {
    m_clrHighLightRect1 = clrFirst;
    m_clrHighLightRect2 = clrSecond;
    for (INT_PTR i = 0; i < m_arrSubMenu.GetSize(); ++i) m_arrSubMenu[i]->SetHightLightRectColor(clrFirst, clrSecond);
}

void CMenuEx::SetItemBackBmp(const wchar_t* lpszFile) {
    CComPtr<IBitmapFactory> pFactory = GetEnvBitmapFactory();
    if (!pFactory) return;
    m_pBackBmp = pFactory->GetFolderBitmap(kBackBmpFolder, lpszFile);
}

void CMenuEx::ChangeWindowRgn(CDC*) {}

void CMenuEx::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CMenu::DrawItem(lpDrawItemStruct);
}

void CMenuEx::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    CMenu::MeasureItem(lpMeasureItemStruct);
}

// ---- 3. Items and records --------------------------------------------------------------------------------
BOOL CMenuEx::LoadMenuW(UINT nIDResource) {
    return LoadMenuW(MAKEINTRESOURCEW(nIDResource));
}

BOOL CMenuEx::LoadMenuW(const wchar_t* lpszResourceName) {
    // A menu is attached already: refuse rather than lose it (Attach would assert).
    if (m_hMenu) return FALSE;
    const HINSTANCE module = AfxFindResourceHandle(lpszResourceName, RT_MENU);
    return Attach(::LoadMenuW(module, lpszResourceName));
}

namespace {

// A command the hidden window would relay cut to its low word, so that it would act as
// another command. A sub-menu item's id is its menu handle, a separator's is not read.
bool CannotRelay(UINT nFlags, UINT nID) {
    return !(nFlags & (MF_POPUP | MF_SEPARATOR)) && nID > kMaxRelayedCommandID;
}

}  // namespace

BOOL CMenuEx::AppendMenuEx(UINT nFlags, UINT nIDNewItem, const wchar_t* lpszNewItem) {
    if (CannotRelay(nFlags, nIDNewItem)) return FALSE;
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

tagMENUITEM* CMenuEx::NewRecord(UINT nID, const CString& strText, CImageList* pImageList) {
    auto* pItem = new tagMENUITEM;
    pItem->strText = strText;
    pItem->nID = nID;
    pItem->pImageList = pImageList;
    return pItem;
}

tagMENUITEM* CMenuEx::FindRecord(UINT nID, INT_PTR* pIndex) {
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) {
        if (m_arrItems[i]->nID != nID) continue;
        if (pIndex) *pIndex = i;
        return m_arrItems[i];
    }
    return nullptr;
}

BOOL CMenuEx::ModifyMenuEx(UINT nPosition, UINT nFlags, UINT nIDNewItem, const wchar_t* lpszNewItem) {
    if (CannotRelay(nFlags, nIDNewItem)) return FALSE;  // before any record changes
    const UINT nID = (nFlags & MF_BYPOSITION) ? ::GetMenuItemID(m_hMenu, int(nPosition)) : nPosition;
    tagMENUITEM* pItem = FindRecord(nID);
    if (pItem) {
        pItem->strText = lpszNewItem;
        if (nIDNewItem != 0) pItem->nID = nIDNewItem;
    } else {
        pItem = NewRecord(nIDNewItem, CString(lpszNewItem), &m_ImageList);
        m_arrItems.Add(pItem);
    }
    // The record travels as the owner-drawn item's data.
    return ::ModifyMenuW(m_hMenu, nPosition, nFlags | MF_OWNERDRAW, nIDNewItem, reinterpret_cast<LPCWSTR>(pItem));
}

BOOL CMenuEx::RemoveMenuEx(UINT nPosition, UINT nFlags) {
    const UINT nID = (nFlags & MF_BYPOSITION) ? ::GetMenuItemID(m_hMenu, int(nPosition)) : nPosition;
    // A sub-menu item's id reads as -1: such an item keeps its record.
    INT_PTR nIndex = -1;
    if (static_cast<int>(nID) >= 0 && FindRecord(nID, &nIndex)) {
        delete m_arrItems[nIndex];
        m_arrItems.RemoveAt(nIndex);
    }
    return ::RemoveMenu(m_hMenu, nPosition, nFlags);
}

int CMenuEx::GetMenuItem(UINT nID, tagMENUITEM* pItem) {
    if (!pItem) return 0;
    const tagMENUITEM* pFound = FindRecord(nID);
    if (!pFound) return 0;
    pItem->strText = pFound->strText;
    pItem->nID = pFound->nID;
    pItem->nImageIndex = pFound->nImageIndex;
    pItem->nLeftImagePos = pFound->nLeftImagePos;
    pItem->nReserved1 = pFound->nReserved1;
    pItem->pImageList = pFound->pImageList;
    pItem->nReserved2 = pFound->nReserved2;
    return 1;
}

// ---- 4. ChangeMenuStyle ---------------------------------------------------------------------------------
// The menu made here (M) owns the records of the target's items and converts the deeper
// sub-menus itself, so that they belong to it; this menu owns M.
void CMenuEx::ChangeMenuStyle(CMenu* pSource, HMENU hTarget) {
    if (!pSource || !hTarget) return;
    auto* pTarget = new CMenuEx(nMenuOpenFlag, nMenuBackGroundMode);
    pTarget->Attach(hTarget);
    m_arrSubMenu.Add(pTarget);
    CImageList* pImages = &pTarget->m_ImageList;

    const int nCount = ::GetMenuItemCount(pSource->GetSafeHmenu());
    for (int i = 0; i < nCount; ++i) {
        const UINT nID = ::GetMenuItemID(pSource->GetSafeHmenu(), i);
        if (nID == 0) {
            ::AppendMenuW(hTarget, MF_SEPARATOR, 0, nullptr);
            tagMENUITEM* pItem = NewRecord(0, CString(), pImages);
            pTarget->m_arrItems.Add(pItem);
            ::ModifyMenuW(hTarget, UINT(i), MF_BYPOSITION | MF_OWNERDRAW, kSubMenuID, reinterpret_cast<LPCWSTR>(pItem));
        } else if (nID == kSubMenuID) {
            CMenu* pSourceSub = pSource->GetSubMenu(i);
            const HMENU hNewPopup = ::CreatePopupMenu();
            CString strText;
            pSource->GetMenuString(UINT(i), strText, MF_BYPOSITION);
            ::InsertMenuW(hTarget, UINT(i), MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(hNewPopup), strText);
            tagMENUITEM* pItem = NewRecord(kSubMenuID, strText, pImages);
            pTarget->m_arrItems.Add(pItem);
            // Without MF_POPUP: what becomes of the item's sub-menu is the system's
            // business; the new pop-up stays owned by the menu that converts into it.
            ::ModifyMenuW(hTarget, UINT(i), MF_BYPOSITION | MF_OWNERDRAW, kSubMenuID, reinterpret_cast<LPCWSTR>(pItem));
            if (pSourceSub) {
                pTarget->ChangeMenuStyle(pSourceSub, hNewPopup);
            } else {
                ::DestroyMenu(hNewPopup);  // nothing to convert into it
            }
        } else {
            CString strText;
            pSource->GetMenuString(nID, strText, MF_BYCOMMAND);
            tagMENUITEM* pItem = NewRecord(nID, strText, pImages);
            pTarget->m_arrItems.Add(pItem);
            // Check and gray states carry over with the source's state bits.
            const UINT nState = ::GetMenuState(pSource->GetSafeHmenu(), UINT(i), MF_BYPOSITION);
            ::AppendMenuW(hTarget, nState | MF_OWNERDRAW, nID, reinterpret_cast<LPCWSTR>(pItem));
        }
    }
}

// ---- 5. Tool-bar images and the left strip ---------------------------------------------------------------
int CMenuEx::LoadToolBar(UINT nToolBarID, UINT) {
    CWnd* pMainWnd = AfxGetMainWnd();
    if (!pMainWnd) return 0;  // no window to make the tool bar on
    CToolBar bar;
    int nImages = 0;
    if (bar.CreateEx(pMainWnd, kToolBarCtrlStyle, kToolBarStyle, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) &&
        bar.LoadToolBar(nToolBarID))
        nImages = GetImageFromToolBar(nToolBarID, &bar, kToolBarMask, 0);
    bar.DestroyWindow();
    return nImages;
}

int CMenuEx::GetImageFromToolBar(UINT nBitmapID, CToolBar* pBar, COLORREF clrMask, UINT nAltBitmapID) {
    if (!pBar) return 0;
    const LPCWSTR lpszBitmap = MAKEINTRESOURCEW(nBitmapID);
    CBitmap bmp;
    if (!bmp.Attach(::LoadBitmapW(AfxFindResourceHandle(lpszBitmap, RT_BITMAP), lpszBitmap))) return 0;
    BITMAP bm{};
    bmp.GetBitmap(&bm);

    // The index given is the button's position, separators included, not its image's
    // position in the strip; and a separator (id 0) hands its position to the records
    // with id 0, the separators' records. Both as intended.
    int nImages = 0;
    const int nButtons = pBar->GetCount();
    for (int i = 0; i < nButtons; ++i) {
        const UINT nID = pBar->GetItemID(i);
        for (INT_PTR k = 0; k < m_arrItems.GetSize(); ++k)
            if (m_arrItems[k]->nID == nID) m_arrItems[k]->nImageIndex = i;
        if (nID != 0) ++nImages;
    }
    bmp.DeleteObject();
    // A tool bar of separators only has no image to cut: the image list stays as it was.
    if (nImages == 0) return 0;

    const int nImageWidth = bm.bmWidth / nImages;
    m_ImageList.DeleteImageList();  // a second tool bar replaces the images
    const UINT nListBitmap = nAltBitmapID ? nAltBitmapID : nBitmapID;
    m_ImageList.Create(nListBitmap, nImageWidth, nAltBitmapID ? bm.bmHeight : kImageListGrow, clrMask);
    m_nImageWidth = nImageWidth;
    m_nImageHeight = bm.bmHeight;
    return nImages;
}

BOOL CMenuEx::SetImageLeft(UINT nBitmapID, int) {
    if (m_bHasLeftImage) m_bmpLeft.DeleteObject();
    m_bHasLeftImage = FALSE;
    const LPCWSTR lpszBitmap = MAKEINTRESOURCEW(nBitmapID);
    // Without the bitmap there is no strip to draw.
    if (!m_bmpLeft.Attach(::LoadBitmapW(AfxFindResourceHandle(lpszBitmap, RT_BITMAP), lpszBitmap))) return FALSE;
    m_bHasLeftImage = TRUE;
    BITMAP bm{};
    m_bmpLeft.GetBitmap(&bm);
    m_nLeftImageWidth = bm.bmWidth;
    m_nLeftImageHeight = bm.bmHeight;
    // Every record takes slot 1, as intended; CalculateLeftImagePos numbers them.
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) m_arrItems[i]->nLeftImagePos = 1;
    return TRUE;
}

void CMenuEx::CalculateLeftImagePos(CMenu* pMenu) {
    if (!pMenu) return;
    const HMENU hMenu = pMenu->GetSafeHmenu();
    const int nCount = ::GetMenuItemCount(hMenu);
    for (int i = nCount - 1, k = 0; i >= 0; --i, ++k) {
        const UINT nID = ::GetMenuItemID(hMenu, i);
        for (INT_PTR r = 0; r < m_arrItems.GetSize(); ++r)
            if (m_arrItems[r]->nID == nID) m_arrItems[r]->nLeftImagePos = k;
    }
}
