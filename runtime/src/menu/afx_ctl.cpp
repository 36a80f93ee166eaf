// CImageList, CToolBar and the tool-bar window class that keeps the buttons.
//
// Index
//   1. CImageList
//   2. The tool-bar window class ("ToolbarWindow32")
//   3. CToolBar
#include <vector>

#include "afx/afxwin.h"
#include "menu/menu_private.h"
#include "res/res_private.h"

// ---- 1. CImageList ---------------------------------------------------------------------------------
IMPLEMENT_DYNCREATE(CImageList, CObject)

CImageList::~CImageList() {
    DeleteImageList();
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
    return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
    return Create(MAKEINTRESOURCE(nBitmapID), cx, nGrow, crMask);
}

BOOL CImageList::Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask) {
    const HINSTANCE module = AfxFindResourceHandle(lpszBitmapID, RT_BITMAP);
    return Attach(ImageList_LoadImageW(module, lpszBitmapID, cx, nGrow, crMask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

BOOL CImageList::Attach(HIMAGELIST hImageList) {
    ASSERT(m_hImageList == nullptr);
    if (!hImageList) return FALSE;
    m_hImageList = hImageList;
    return TRUE;
}

HIMAGELIST CImageList::Detach() {
    const HIMAGELIST h = m_hImageList;
    m_hImageList = nullptr;
    return h;
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList) return FALSE;
    return ImageList_Destroy(Detach());
}

int CImageList::GetImageCount() const {
    return ImageList_GetImageCount(m_hImageList);
}

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask) {
    if (!pbmImage) return -1;
    return ImageList_Add(m_hImageList, static_cast<HBITMAP>(pbmImage->GetSafeHandle()),
                         pbmMask ? static_cast<HBITMAP>(pbmMask->GetSafeHandle()) : nullptr);
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask) {
    if (!pbmImage) return -1;
    return ImageList_AddMasked(m_hImageList, static_cast<HBITMAP>(pbmImage->GetSafeHandle()), crMask);
}

BOOL CImageList::Remove(int nImage) {
    return ImageList_Remove(m_hImageList, nImage);
}

COLORREF CImageList::SetBkColor(COLORREF cr) {
    return ImageList_SetBkColor(m_hImageList, cr);
}

COLORREF CImageList::GetBkColor() const {
    return ImageList_GetBkColor(m_hImageList);
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle) {
    if (!pDC) return FALSE;
    return ImageList_Draw(m_hImageList, nImage, pDC->GetSafeHdc(), pt.x, pt.y, nStyle);
}

// ---- 2. The tool-bar window class -------------------------------------------------------------------
namespace {

struct ToolbarData {
    std::vector<TBBUTTON> buttons;
    SIZE buttonSize{23, 22};
    SIZE bitmapSize{16, 15};
};

ToolbarData* DataOf(HWND hwnd) {
    return reinterpret_cast<ToolbarData*>(GetWindowLongPtrW(hwnd, 0));
}

LRESULT ToolbarMessage(HWND hwnd, ToolbarData* data, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case TB_BUTTONSTRUCTSIZE:
            return 0;
        case TB_BUTTONCOUNT:
            return LRESULT(data->buttons.size());
        case TB_GETBUTTON: {
            auto* out = reinterpret_cast<TBBUTTON*>(lParam);
            if (!out || wParam >= data->buttons.size()) return FALSE;
            *out = data->buttons[wParam];
            return TRUE;
        }
        case TB_ADDBUTTONSW: {
            const auto* in = reinterpret_cast<const TBBUTTON*>(lParam);
            if (!in) return FALSE;
            data->buttons.insert(data->buttons.end(), in, in + wParam);
            return TRUE;
        }
        case TB_DELETEBUTTON:
            if (wParam >= data->buttons.size()) return FALSE;
            data->buttons.erase(data->buttons.begin() + LONG_PTR(wParam));
            return TRUE;
        case TB_COMMANDTOINDEX:
            for (size_t i = 0; i < data->buttons.size(); ++i)
                if (data->buttons[i].idCommand == int(wParam)) return LRESULT(i);
            return -1;
        case TB_SETBUTTONSIZE:
            data->buttonSize = SIZE{LOWORD(lParam), HIWORD(lParam)};
            return TRUE;
        case TB_SETBITMAPSIZE:
            data->bitmapSize = SIZE{LOWORD(lParam), HIWORD(lParam)};
            return TRUE;
        case TB_GETBUTTONSIZE:
            return MAKELONG(data->buttonSize.cx, data->buttonSize.cy);
        default:
            return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

LRESULT CALLBACK ToolbarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(new ToolbarData));
        return TRUE;
    }
    ToolbarData* data = DataOf(hwnd);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, 0, 0);
        delete data;
        return 0;
    }
    if (!data) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return ToolbarMessage(hwnd, data, msg, wParam, lParam);
}

bool EnsureToolbarClass() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ToolbarProc;
        wc.cbWndExtra = sizeof(LONG_PTR);
        wc.lpszClassName = TOOLBARCLASSNAMEW;
        return RegisterClassW(&wc) != 0;
    }();
    return registered;
}

}  // namespace

// ---- 3. CToolBar ----------------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(CToolBar, CWnd)

CToolBar::~CToolBar() {
    if (m_hbmImageWell) DeleteObject(m_hbmImageWell);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect, UINT nID) {
    if (!pParentWnd || !pParentWnd->GetSafeHwnd() || !EnsureToolbarClass()) return FALSE;
    // The control style lives in the low word of the window style, as the common control keeps it.
    const DWORD style = (dwStyle & 0xFFFF0000u) | (dwCtrlStyle & 0xFFFF) | WS_CHILD;
    return CWnd::CreateEx(0, TOOLBARCLASSNAMEW, nullptr, style, 0, 0, 0, 0, pParentWnd->GetSafeHwnd(),
                          reinterpret_cast<HMENU>(UINT_PTR(nID)));
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
    if (!m_hWnd || nIDCount < 0) return FALSE;
    while (::SendMessageW(m_hWnd, TB_BUTTONCOUNT, 0, 0) > 0) ::SendMessageW(m_hWnd, TB_DELETEBUTTON, 0, 0);
    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (int i = 0; i < nIDCount; ++i) {
        TBBUTTON b{};
        const UINT id = lpIDArray ? lpIDArray[i] : 0;
        b.idCommand = int(id);
        if (id == ID_SEPARATOR) {
            b.fsStyle = TBSTYLE_SEP;
            b.iBitmap = 6;  // a separator's width
        } else {
            b.fsStyle = TBSTYLE_BUTTON;
            b.fsState = TBSTATE_ENABLED;
            b.iBitmap = image++;
        }
        buttons.push_back(b);
    }
    return ::SendMessageW(m_hWnd, TB_ADDBUTTONSW, WPARAM(buttons.size()), reinterpret_cast<LPARAM>(buttons.data())) !=
           0;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    if (!m_hWnd) return;
    ::SendMessageW(m_hWnd, TB_SETBITMAPSIZE, 0, MAKELONG(sizeImage.cx, sizeImage.cy));
    ::SendMessageW(m_hWnd, TB_SETBUTTONSIZE, 0, MAKELONG(sizeButton.cx, sizeButton.cy));
}

BOOL CToolBar::LoadToolBar(LPCTSTR lpszResourceName) {
    if (!m_hWnd) return FALSE;
    const HINSTANCE module = AfxFindResourceHandle(lpszResourceName, RT_TOOLBAR);
    const res::Resource* bar = res::Find(module, lpszResourceName, res::Type::Toolbar);
    if (!bar) return FALSE;
    const std::vector<UINT> ids = bar->buttons;
    const SIZE image_size = bar->buttonSize;
    HBITMAP bitmap = ::LoadBitmapW(AfxFindResourceHandle(lpszResourceName, RT_BITMAP), lpszResourceName);
    if (!bitmap) return FALSE;
    if (m_hbmImageWell) DeleteObject(m_hbmImageWell);
    m_hbmImageWell = bitmap;
    SetSizes(SIZE{image_size.cx + 7, image_size.cy + 7}, image_size);  // buttons frame their image
    return SetButtons(ids.data(), int(ids.size()));
}

int CToolBar::GetCount() const {
    return m_hWnd ? int(::SendMessageW(m_hWnd, TB_BUTTONCOUNT, 0, 0)) : 0;
}

UINT CToolBar::GetItemID(int nIndex) const {
    TBBUTTON b{};
    if (!m_hWnd || !::SendMessageW(m_hWnd, TB_GETBUTTON, WPARAM(nIndex), reinterpret_cast<LPARAM>(&b))) return 0;
    return UINT(b.idCommand);
}

UINT CToolBar::GetButtonStyle(int nIndex) const {
    TBBUTTON b{};
    if (!m_hWnd || !::SendMessageW(m_hWnd, TB_GETBUTTON, WPARAM(nIndex), reinterpret_cast<LPARAM>(&b))) return 0;
    return b.fsStyle;
}
