// Construction, skin loading, tab building, text buttons and configuration.
//
// Index
//   1. Statics, construction, InitObject
//   2. Skin helpers: strip height from a bitmap, bitmap sizes, text extents
//   3. Tabs: defaulting keys, building, adding, inserting, deleting
//   4. Text buttons
//   5. Configuration setters and rectangles
#include "ElementTabControl.h"

#include <cstring>

#include "TabControlConstants.h"

using namespace tabcontrol;

// ---- 1. Statics, construction, InitObject -------------------------------------------------------
// System cursors: loaded once when the library is loaded, never destroyed.
HCURSOR CElementTabControl::m_hcurHover = ::LoadCursor(nullptr, IDC_HAND);
HCURSOR CElementTabControl::m_hcurNormal = ::LoadCursor(nullptr, IDC_ARROW);
const int CElementTabControl::m_nArrayWidth;

CElementTabControl::CElementTabControl(int bTextBottom)
    : m_bTextBottom(bTextBottom), m_textExtentCache(kTextExtentCacheLimit) {}

CElementTabControl::~CElementTabControl() {
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) delete m_arrItems[i];
    m_arrItems.RemoveAll();
    m_arrTextBtn.RemoveAll();
    // The submenus belong to an open menu, which frees them when it closes; only the
    // vector's storage is ours here.
    std::vector<CMenuEx*>().swap(m_vecSubMenu);
}

int CElementTabControl::InitObject(const wchar_t* name, _CONTAINER_INFO* info) {
    if (!CElementContainer::InitObject(name, info)) return 0;
    for (UINT msg :
         {WM_PAINT, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSELEAVE, WM_SIZE, WM_COMMAND, WM_SETCURSOR})
        RegisterMessage(msg);
    CComPtr<IBitmapFactory> pFactory = GetEnvBitmapFactory();
    CComPtr<CSWPalette> pPalette = GetEnvSkinPalette();
    if (!pFactory || !pPalette) return 0;
    GetColorBmpAndFont(pFactory, pPalette);
    CustomCalcBmpSize(m_strTabBkBmp);
    return 1;
}

// ---- 2. Skin helpers ----------------------------------------------------------------------------
void CElementTabControl::GetBmpSize(CString strName, int& nWidth, int& nHeight) {
    CComPtr<IBitmapFactory> pFactory = GetEnvBitmapFactory();
    if (!pFactory) return;
    CBitmap* pBmp = pFactory->GetFolderBitmap(kSkinFolder, strName.GetString());
    if (!pBmp) return;
    BITMAP bm{};
    pBmp->GetBitmap(&bm);
    nWidth = bm.bmWidth;
    nHeight = bm.bmHeight;
}

void CElementTabControl::CustomCalcBmpSize(CString strName) {
    int nWidth = 0;
    GetBmpSize(strName, nWidth, m_nTabHeight);  // a missing bitmap leaves the height alone
}

void CElementTabControl::SetTabHeightFromBKbmp() {
    CustomCalcBmpSize(m_strTabBkBmp);
}

CSize CElementTabControl::GetCurTextExtent(const wchar_t* lpszText) {
    if (!lpszText) return CSize(0, 0);
    // The cache is valid for one font: compare the font's description, since a reskin
    // changes a palette font in place.
    LOGFONT lf{};
    const bool hasFont = m_pFont && m_pFont->GetSafeHandle() && m_pFont->GetLogFont(&lf) != 0;
    if (!m_textExtentCache.IsForFont(hasFont, lf)) m_textExtentCache.SetFont(hasFont, lf);
    const std::wstring_view text(lpszText);
    if (const CSize* pCached = m_textExtentCache.Find(text)) return *pCached;

    CSize size(0, 0);
    CScreenDC screenDC;
    if (!screenDC.IsNull()) {
        CSelectScope font(screenDC, hasFont ? m_pFont->GetSafeHandle() : nullptr);
        ::GetTextExtentPointW(screenDC, lpszText, ClampToInt(int64_t(text.size())), &size);
    }
    m_textExtentCache.Add(text, size);
    return size;
}

// ---- 3. Tabs --------------------------------------------------------------------------------------
int CElementTabControl::InitTabItemColor(_TAB_PARAM_INFO_* pInfo) {
    if (!pInfo) return 0;
    const struct {
        const wchar_t** field;
        const wchar_t* key;
    } defaults[] = {
        {&pInfo->lpszBkColor, kKeyBackground},        {&pInfo->lpszBorderColor, kKeyBorder},
        {&pInfo->lpszFillNormal, kKeyFillNormal},     {&pInfo->lpszHoverBkColor, kKeyHoverBackground},
        {&pInfo->lpszFillHotlight, kKeyFillHotlight},
    };
    for (const auto& d : defaults)
        if (!*d.field || !**d.field) *d.field = d.key;
    return 1;
}

int CElementTabControl::BuildTabItem(_TAB_PARAM_INFO_* pInfo, CQuoteTabItem* pItem) {
    if (!pInfo || !pItem) return 0;
    CComPtr<IBitmapFactory> pFactory = GetEnvBitmapFactory();
    if (!pFactory) return 0;

    pItem->m_strLeftBmp = pInfo->lpszLeftBmp ? pInfo->lpszLeftBmp : kLeftBmp;
    pItem->m_strMidBmp = pInfo->lpszMidBmp ? pInfo->lpszMidBmp : kMidBmp;
    pItem->m_strRightBmp = pInfo->lpszRightBmp ? pInfo->lpszRightBmp : kRightBmp;

    // B: the last bitmap found, left part then right part.
    int nBmpWidth = 0, nBmpHeight = 0;
    GetBmpSize(pItem->m_strLeftBmp, nBmpWidth, nBmpHeight);
    m_nLeftBmpWidth = nBmpWidth;
    long long nWidth = nBmpWidth;
    GetBmpSize(pItem->m_strRightBmp, nBmpWidth, nBmpHeight);
    m_nRightBmpWidth = nBmpWidth;
    nWidth += nBmpWidth;
    nWidth += GetCurTextExtent(pInfo->lpszName).cx;

    pItem->m_strLeftHotBmp = pInfo->lpszLeftHotBmp ? pInfo->lpszLeftHotBmp : kLeftHotBmp;
    pItem->m_strMidHotBmp = pInfo->lpszMidHotBmp ? pInfo->lpszMidHotBmp : kMidHotBmp;
    pItem->m_strRightHotBmp = pInfo->lpszRightHotBmp ? pInfo->lpszRightHotBmp : kRightHotBmp;

    pItem->m_strName = pInfo->lpszName ? pInfo->lpszName : L"";
    pItem->m_strOrgName = pItem->m_strName;
    pItem->m_nID = pInfo->nID;

    if (!pInfo->pMenuInfo) {
        pItem->m_vecMenu.clear();
        pItem->m_nSelMenuID = 0;
    } else {
        if (&pInfo->pMenuInfo->vecMenu != &pItem->m_vecMenu) pItem->m_vecMenu = pInfo->pMenuInfo->vecMenu;
        pItem->m_nSelMenuID = pInfo->pMenuInfo->nSelCmdID;
        BITMAP bmArrow{};
        if (m_pArrowBmp) m_pArrowBmp->GetBitmap(&bmArrow);
        // Room for the arrow, even for an empty entry vector.
        nWidth += static_cast<long long>(kArrowRoom) + m_nArrowMargin - m_nRightBmpWidth + bmArrow.bmWidth;
    }

    // A tab with its own bitmaps is as wide as its bitmap, whatever its text.
    const int nTabWidth = pItem->m_strLeftBmp == kLeftBmp ? ClampToInt(nWidth) : nBmpWidth;

    // Text colour keys are formatted as given: a host passes both.
    pItem->m_strSelTextColor = pInfo->lpszSelTextColor;
    pItem->m_strTextColor = pInfo->lpszTextColor;
    pItem->m_strBkColor = pInfo->lpszBkColor;
    pItem->m_strBorderColor = pInfo->lpszBorderColor;
    pItem->m_strFillNormal = pInfo->lpszFillNormal;
    pItem->m_strHoverBkColor = pInfo->lpszHoverBkColor;
    pItem->m_strFillHotlight = pInfo->lpszFillHotlight;

    pItem->m_nWidth = pItem->m_nOrgWidth = nTabWidth;
    pItem->m_nHeight = pItem->m_nOrgHeight = nBmpHeight;
    pItem->m_bVisible = pInfo->bVisible;
    pItem->m_nSizeMode = pInfo->nSizeMode;
    pItem->m_nDivide = pInfo->nDivide;
    return 1;
}

int CElementTabControl::Add(_TAB_PARAM_INFO_* pInfo) {
    // A null record has no ID to check: refused like a duplicate.
    if (!pInfo) return -1;
    // The index answers "no such tab" without a walk; a tab it does count is confirmed by
    // the look-up itself.
    int nExisting = 0;
    if (TabIdCounts().count(pInfo->nID) != 0 && FindTabID(pInfo->nID, nExisting)) return -1;
    InitTabItemColor(pInfo);
    CQuoteTabItem* pItem = new CQuoteTabItem;
    BuildTabItem(pInfo, pItem);  // stored whatever the build gives
    return AddItem(pItem);
}

void CElementTabControl::RejectNegativeIndex(int nIndex) {
    if (nIndex < 0) AfxThrowInvalidArgException();
}

void CElementTabControl::InsertTabItem(int nIndex, _TAB_PARAM_INFO_* pInfo) {
    RejectNegativeIndex(nIndex);
    if (!pInfo) return;
    // Past the end would leave empty slots that layout and painting cannot take.
    const INT_PTR nAt = nIndex > m_arrItems.GetSize() ? m_arrItems.GetSize() : nIndex;
    InitTabItemColor(pInfo);
    CQuoteTabItem* pItem = new CQuoteTabItem;
    BuildTabItem(pInfo, pItem);
    StoreItem(nAt, pItem);
}

int CElementTabControl::AddItem(CQuoteTabItem* pItem) {
    const INT_PTR nAt = m_arrItems.GetSize();
    StoreItem(nAt, pItem);
    return int(nAt);
}

void CElementTabControl::StoreItem(INT_PTR nAt, CQuoteTabItem* pItem) {
    std::unordered_map<int, int>& counts = TabIdCounts();
    // Growing by a fixed step at most would copy a long strip over and over: grow by half.
    const INT_PTR nSize = m_arrItems.GetSize();
    if (nSize >= 1024) m_arrItems.SetSize(nSize, nSize / 2);
    m_arrItems.InsertAt(nAt, pItem);
    if (pItem) ++counts[pItem->m_nID];
    m_tabIds.data = m_arrItems.GetData();
    m_tabIds.size = m_arrItems.GetSize();
}

std::unordered_map<int, int>& CElementTabControl::TabIdCounts() {
    if (m_tabIds.data != m_arrItems.GetData() || m_tabIds.size != m_arrItems.GetSize()) {
        m_tabIds.counts.clear();
        for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
            if (m_arrItems[i]) ++m_tabIds.counts[m_arrItems[i]->m_nID];
        m_tabIds.data = m_arrItems.GetData();
        m_tabIds.size = m_arrItems.GetSize();
    }
    return m_tabIds.counts;
}

CQuoteTabItem* CElementTabControl::FindItemByID(int nID) {
    int nIndex = 0;
    return FindTabID(nID, nIndex) ? m_arrItems[nIndex] : nullptr;
}

int CElementTabControl::DelItem(int nID) {
    int nIndex = 0;
    if (!FindTabID(nID, nIndex)) return 0;
    std::unordered_map<int, int>& counts = TabIdCounts();
    CQuoteTabItem* pItem = m_arrItems[nIndex];
    m_arrItems.RemoveAt(nIndex);
    const auto it = counts.find(nID);
    if (it != counts.end() && --it->second <= 0) counts.erase(it);
    m_tabIds.data = m_arrItems.GetData();
    m_tabIds.size = m_arrItems.GetSize();
    delete pItem;
    SetTabAndTextbtnRect();
    return 1;
}

int CElementTabControl::SwapWithIndex(int i, int j) {
    if (!ValidIndex(i) || !ValidIndex(j)) return 0;
    CQuoteTabItem* pItem = m_arrItems[i];
    m_arrItems[i] = m_arrItems[j];
    m_arrItems[j] = pItem;
    return 1;
}

int CElementTabControl::SetItemVisibleByID(int nID, int bVisible) {
    CQuoteTabItem* pItem = FindItemByID(nID);
    if (pItem) pItem->m_bVisible = bVisible;
    // Laid out and repainted whether or not the ID was found.
    SetTabAndTextbtnRect();
    InvalidContainerRect(kRepaintFlag, nullptr);
    return pItem ? 1 : 0;
}

int CElementTabControl::GetItemVisibleFromID(int nID, int& bVisible) {
    CQuoteTabItem* pItem = FindItemByID(nID);
    if (!pItem) return 0;
    bVisible = pItem->m_bVisible;
    return 1;
}

int CElementTabControl::GetItemRect(int nIndex, RECT* prc) {
    CQuoteTabItem* pItem = m_arrItems.GetAt(nIndex);  // raises outside the array
    if (!pItem || !prc) return 0;
    *prc = pItem->m_rcItem;
    return 1;
}

void CElementTabControl::GetTabName(int nIndex, CString& strName) {
    RejectNegativeIndex(nIndex);
    if (CQuoteTabItem* pItem = ItemAt(nIndex)) strName = pItem->m_strName;
}

CQuoteTabItem* CElementTabControl::GetItem(int nIndex) {
    RejectNegativeIndex(nIndex);
    return ItemAt(nIndex);
}

void CElementTabControl::SetItemNULLRect(CQuoteTabItem* pItem) {
    if (pItem) pItem->m_rcItem.SetRect(0, 0, 0, 0);
}

// ---- 4. Text buttons -----------------------------------------------------------------------------
void CElementTabControl::AddTextButton(const wchar_t* lpszText, int nID, const wchar_t* lpszColor,
                                       const wchar_t* lpszHotColor, const wchar_t* lpszImage,
                                       const wchar_t* lpszHotImage, int bLineFont, CString strExtra) {
    _TEXT_BUTTON btn;
    btn.sizeText = GetCurTextExtent(lpszText);
    btn.strText = lpszText;
    btn.strColor = lpszColor;
    btn.strHotColor = lpszHotColor;
    btn.nID = nID;
    btn.bLineFont = bLineFont;
    btn.strExtra = strExtra;
    btn.bHot = false;
    btn.m_bVisible = 1;
    if (lpszImage) {
        btn.strImage = lpszImage;
        if (*lpszImage) {
            CComPtr<CSWPalette> pPalette = GetEnvSkinPalette();
            if (CBitmap* pBmp = pPalette ? pPalette->GetBitmap(lpszImage) : nullptr) {
                BITMAP bm{};
                pBmp->GetBitmap(&bm);
                btn.sizeImage = CSize(bm.bmWidth, bm.bmHeight);
            }
        }
    }
    if (lpszHotImage) btn.strHotImage = lpszHotImage;
    m_arrTextBtn.Add(btn);
}

int CElementTabControl::SetBtnTextByID(int nID, const wchar_t* lpszText) {
    if (!lpszText) return 0;
    for (INT_PTR i = 0; i < m_arrTextBtn.GetSize(); ++i) {
        if (m_arrTextBtn[i].nID != nID) continue;
        m_arrTextBtn[i].strText = lpszText;
        SetTabAndTextbtnRect();
        return 1;
    }
    return 0;
}

int CElementTabControl::SetTextBtnVisibleByID(int nID, int bVisible) {
    int nFound = 0;
    for (INT_PTR i = 0; i < m_arrTextBtn.GetSize() && !nFound; ++i) {
        if (m_arrTextBtn[i].nID != nID) continue;
        m_arrTextBtn[i].m_bVisible = bVisible;
        nFound = 1;
    }
    SetTabAndTextbtnRect();
    InvalidContainerRect(kRepaintFlag, nullptr);
    return nFound;
}

int CElementTabControl::GetTextBtnVisibleFromID(int nID, int& bVisible) {
    for (INT_PTR i = 0; i < m_arrTextBtn.GetSize(); ++i) {
        if (m_arrTextBtn[i].nID != nID) continue;
        bVisible = m_arrTextBtn[i].m_bVisible;
        return 1;
    }
    return 0;
}

int CElementTabControl::SetTextBtnNULLRect(unsigned int nIndex) {
    if (nIndex >= static_cast<unsigned long long>(m_arrTextBtn.GetSize())) return 0;
    m_arrTextBtn[INT_PTR(nIndex)].rcBtn.SetRect(0, 0, 0, 0);
    return 1;
}

// ---- 5. Configuration setters and rectangles ------------------------------------------------------
void CElementTabControl::SetStyle(int nStyle, int nTabAlign, int nTabPos) {
    m_nStyle = nStyle;
    m_nTabAlign = nTabAlign;
    m_nTabPos = nTabPos;
}

void CElementTabControl::SetTabBtnAglin(DIRECT nAlign) {
    m_nTextBtnAlign = nAlign;
}

int CElementTabControl::SetTabArrangement(TAB_ARRANGEMENT nArrangement) {
    m_nTabArrangement = nArrangement;
    return 1;
}

int CElementTabControl::SetTabHeight(int nHeight) {
    if (nHeight < 1) return 0;
    m_nTabHeight = nHeight;
    SetTabAndTextbtnRect();
    return 1;
}

int CElementTabControl::SetTabWidth(int nWidth) {
    if (nWidth < 1) return 0;
    m_nTabWidth = nWidth;
    return 1;
}

void CElementTabControl::SetTabbkDrawType(int nType) {
    m_nTabBkDrawType = nType;
}
void CElementTabControl::SetDrawRedLine(bool bDraw) {
    m_bDrawRedLine = bDraw;
}
bool CElementTabControl::IsDrawRedLine() {
    return m_bDrawRedLine;
}
void CElementTabControl::TabButtNeedActive(bool bNeed) {
    m_bTabButtNeedActive = bNeed;
}

bool CElementTabControl::SetTabBKbmp(const wchar_t* lpszBmp) {
    m_bBmpBk = 1;
    if (!lpszBmp) return false;
    m_strTabBkBmp = lpszBmp;
    CustomCalcBmpSize(m_strTabBkBmp);
    return true;
}

// Only until the next paint reloads the skin colour; the switch to a colour background lasts.
void CElementTabControl::SetBkColor(COLORREF clr) {
    m_clrBk = clr;
    m_bBmpBk = 0;
}

void CElementTabControl::SetGrayBkColor(int nMode) {
    m_nGrayBkColor = nMode;
    if (nMode == 2) m_strTabBkBmp = kGrayBk2Bmp;
    if (nMode == 3) m_strTabBkBmp = kGrayBk3Bmp;
    CustomCalcBmpSize(m_strTabBkBmp);
}

int CElementTabControl::GetGrayBkColor() {
    return m_nGrayBkColor;
}
void CElementTabControl::BitmapSize() {
    SetTabAndTextbtnRect();
}
int CElementTabControl::GetSelectedTab() {
    return m_nSelTab;
}

void CElementTabControl::GetTabAreaRect(RECT* prc) {
    if (!prc) return;
    GetDrawRect(prc);
    switch (m_nTabPos) {
        case kSideTop:
            prc->bottom = SatAdd(prc->top, m_nTabHeight);
            break;
        case kSideBottom:
            prc->top = SatAdd(prc->bottom, -static_cast<long long>(m_nTabHeight));
            break;
        case kSideLeft:
            prc->right = SatAdd(prc->left, m_nTabWidth);
            break;
        default:
            break;  // the strip is the whole element
    }
}

void CElementTabControl::GetClientRectEx(RECT* prc) {
    if (!prc) return;
    GetDrawRect(prc);
    if (m_nTabPos == kSideTop) prc->top = SatAdd(prc->top, m_nTabHeight);
    if (m_nTabPos == kSideBottom) prc->bottom = SatAdd(prc->bottom, -static_cast<long long>(m_nTabHeight));
}

void CElementTabControl::SetSelectedTab(int nIndex, bool bNotify, bool /*bUnused*/) {
    if (bNotify) RejectNegativeIndex(nIndex);
    m_nSelTab = nIndex;
    if (bNotify && ValidIndex(nIndex)) PostControlMessage(kMsgTabSelected, WPARAM(m_arrItems[nIndex]->m_nID), 0);
    InvalidateStrip();
}
