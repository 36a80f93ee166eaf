#include "ElementButton.h"

#include <algorithm>
#include <climits>

#include "frame/HostServices.h"
#include "frame/Saturate.h"

namespace {
const wchar_t kDataManagerClsid[] = L"{3C146F11-657F-4720-8868-5244AF3FC071}";
const UINT kClickMessage = 1334;
const int kRepaintFlag = 1;  // the button always asks for a repaint with flag 1

// The top that centres an image of height_px on rc. 64-bit: the host may pass any
// rectangle, and bottom - top alone overflows for extreme ones. The halving truncates
// toward zero, so an image taller than rc starts above it.
int CentredTop(const RECT& rc, int height_px) {
    return ClampToInt(rc.top + (static_cast<long long>(rc.bottom) - rc.top - height_px) / 2);
}
}  // namespace

CElementButton::CElementButton() {
    if (CComPtr<CSWPalette> pPalette = GetEnvSkinPalette()) m_pFont = pPalette->GetFont(L"QuoteTab.Button");
}

CElementButton::CElementButton(const CElementButton& other) = default;
CElementButton& CElementButton::operator=(const CElementButton& other) = default;
CElementButton::~CElementButton() = default;

int CElementButton::InitObject(const wchar_t* name, _CONTAINER_INFO* info) {
    const int result = CElementContainer::InitObject(name, info);
    if (result == 0) return result;
    for (UINT msg : {WM_PAINT, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_SIZE, WM_ERASEBKGND})
        RegisterMessage(msg);
    return TRUE;
}

BOOL CElementButton::InitBtn(int nID, unsigned long clrBk, const wchar_t* pszFolder, const wchar_t* pszFile) {
    if (nID < 0) return FALSE;
    m_nID = nID;
    m_clrBk = COLORREF(clrBk);
    CComPtr<IBitmapFactory> pFactory = GetEnvBitmapFactory();
    m_pBkBitmap = pFactory ? pFactory->GetFolderBitmap(pszFolder, pszFile) : nullptr;
    return TRUE;
}

BOOL CElementButton::SetButtonText(const wchar_t* pszText, CFont* pFont, unsigned int nFormat) {
    if (!pszText) return FALSE;
    m_strText = pszText;
    m_nFormat = nFormat;
    if (!pFont) m_pFont = nullptr;
    return TRUE;
}

BOOL CElementButton::SetImage(const wchar_t* pszFolder, const wchar_t* pszNormal, const wchar_t* pszHot,
                              const wchar_t* pszDown, const wchar_t* pszDisable) {
    if (!pszFolder || !pszNormal) return FALSE;
    m_strImageFolder = pszFolder;
    m_strImageNormal = pszNormal;
    m_strImageHot = pszHot ? pszHot : pszNormal;
    m_strImageDown = pszDown ? pszDown : pszNormal;
    m_strImageDisable = pszDisable ? pszDisable : pszNormal;
    return TRUE;
}

BOOL CElementButton::DrawBitmap(CLightCanvas& canvas, CBitmap* pBmp, CRect& rc) {
    if (!pBmp) return TRUE;
    BITMAP bm{};
    pBmp->GetBitmap(&bm);
    canvas.StretchBitmap(rc.left, CentredTop(rc, bm.bmHeight), bm.bmWidth, bm.bmHeight, pBmp, CLR_INVALID);
    return TRUE;
}

void CElementButton::SetTextColor(unsigned long clr) { m_clrText = COLORREF(clr); }
void CElementButton::SetTextHotColor(unsigned long clr) { m_clrTextHot = COLORREF(clr); }
void CElementButton::SetBtnDisable(int bDisable) { m_bDisable = bDisable; }

void CElementButton::DrawStateImage(CLightCanvas& canvas, IBitmapFactory* pFactory, const std::wstring& file,
                                    CRect& rc) {
    if (!pFactory) return;
    DrawBitmap(canvas, pFactory->GetFolderBitmap(m_strImageFolder.c_str(), file.c_str()), rc);
}

void CElementButton::PaintBk(CDC* pDC) {
    CRect rc;
    GetDrawRect(&rc);
    CLightCanvas canvas(pDC);
    if (!m_pBkBitmap) return;
    BITMAP bm{};
    m_pBkBitmap->GetBitmap(&bm);
    canvas.StretchBitmap(rc.left, CentredTop(rc, bm.bmHeight), ClampToInt(static_cast<long long>(rc.right) - rc.left),
                         bm.bmHeight, m_pBkBitmap, CLR_INVALID);
}

int CElementButton::OnPaint(CPaintDC* pDC) {
    CComPtr<IBitmapFactory> pFactory = GetEnvBitmapFactory();
    CLightCanvas canvas(pDC);
    CRect rc;
    GetDrawRect(&rc);

    if (pDC && m_clrBk != CLR_INVALID) canvas.FillRectBorder(&rc, CLR_INVALID, m_clrBk);
    if (m_pBkBitmap) PaintBk(pDC);

    // A button disabled while hot or pressed draws that image first and the disabled
    // image over it.
    if (m_bDown) DrawStateImage(canvas, pFactory, m_strImageDown, rc);
    if (m_bHot && !m_bDown) {
        DrawStateImage(canvas, pFactory, m_strImageHot, rc);
        if (m_clrTextHot != 0 && pDC) canvas.SetTextColor(m_clrTextHot);
    }
    if (m_bDisable) {
        DrawStateImage(canvas, pFactory, m_strImageDisable, rc);
    } else if (!m_bHot && !m_bDown) {
        DrawStateImage(canvas, pFactory, m_strImageNormal, rc);
        if (m_clrText != 0) canvas.SetTextColor(m_clrText);
    }

    if (pDC) canvas.SetBkMode(TRANSPARENT);
    if (m_pFont && pDC) {
        // A copy, so that the canvas can delete what it selected.
        LOGFONT lf{};
        m_pFont->GetLogFont(&lf);
        CFont* pCopy = new CFont;
        pCopy->CreateFontIndirect(&lf);
        canvas.SelectFont(pCopy);
    }
    if (!m_strText.empty() && pDC) {
        CString strText(m_strText.c_str());
        if (CModuleLoaderManager* pModules = CModuleLoaderManager::Instance()) {
            IUnknown* pUnknown = nullptr;
            if (pModules->GetClassObject(kDataManagerClsid, reinterpret_cast<void**>(&pUnknown)) && pUnknown) {
                if (IDataMgrExport* pData = dynamic_cast<IDataMgrExport*>(pUnknown)) pData->AdjustDisplayText(&strText);
                pUnknown->Release();
            }
        }
        pDC->DrawText(strText, &rc, m_nFormat);
    }
    if (m_bFocus && !m_strText.empty() && pDC) {
        const COLORREF clrFace = ::GetSysColor(COLOR_BTNFACE);
        pDC->Draw3dRect(&rc, clrFace, clrFace);
        pDC->DrawFocusRect(&rc);
    }
    return TRUE;
}

int CElementButton::OnEraseBackground(CDC*) { return TRUE; }  // the paint covers the button

int CElementButton::OnLButtonDown(POINT) {
    if (!m_bDisable) m_bDown = TRUE;
    SetCapture();
    InvalidContainerRect(kRepaintFlag, nullptr);
    if (!m_bDisable && !m_bFocus) m_bFocus = TRUE;
    return TRUE;
}

int CElementButton::OnLButtonUp(POINT) {
    m_bDown = FALSE;
    ReleaseCapture();
    PostControlMessage(kClickMessage, WPARAM(m_nID), 0);
    InvalidContainerRect(kRepaintFlag, nullptr);
    return TRUE;
}

int CElementButton::OnMouseMove(int, int, DWORD) {
    if (!m_bDisable && !m_bTracking) {
        m_bHot = TRUE;
        m_bTracking = TRUE;
        InvalidContainerRect(kRepaintFlag, nullptr);
    }
    ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
    return TRUE;
}

int CElementButton::OnMouseLeave() {
    m_bHot = FALSE;
    m_bTracking = FALSE;
    InvalidContainerRect(kRepaintFlag, nullptr);
    return TRUE;
}

int CElementButton::OnSize(UINT, int, int) { return TRUE; }
