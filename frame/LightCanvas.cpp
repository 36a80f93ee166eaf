#include "LightCanvas.h"

CLightCanvas::CLightCanvas(CDC* pDC) : m_pDC(pDC) {}

CLightCanvas::~CLightCanvas() { RestoreState(); }

BOOL CLightCanvas::RestoreState() {
    if (m_pDC) {
        // Objects the DC hands back here are the canvas's own heap objects.
        if (m_pOldPen) {
            delete m_pDC->SelectObject(m_pOldPen);
            m_pOldPen = nullptr;
        }
        if (m_pOldBrush) {
            delete m_pDC->SelectObject(m_pOldBrush);
            m_pOldBrush = nullptr;
        }
        if (m_nOldBkMode != 0) {
            m_pDC->SetBkMode(m_nOldBkMode);
            m_nOldBkMode = 0;
        }
        if (m_clrOldBk != CLR_INVALID) {
            m_pDC->SetBkColor(m_clrOldBk);
            m_clrOldBk = CLR_INVALID;
        }
        if (m_clrOldText != CLR_INVALID) {
            m_pDC->SetTextColor(m_clrOldText);
            m_clrOldText = CLR_INVALID;
        }
        if (m_pOldFont) {
            delete m_pDC->SelectObject(m_pOldFont);
            m_pOldFont = nullptr;
        }
    }
    delete m_pMemDC;
    m_pMemDC = nullptr;
    return TRUE;
}

BOOL CLightCanvas::EnsureMemDC() {
    if (!m_pDC) return FALSE;
    if (m_pMemDC) return TRUE;
    CDC* pMemDC = new (std::nothrow) CDC;
    if (!pMemDC) return FALSE;
    if (!pMemDC->Attach(::CreateCompatibleDC(m_pDC->m_hDC))) {
        delete pMemDC;
        return FALSE;
    }
    m_pMemDC = pMemDC;
    return TRUE;
}

template <class Blit>
BOOL CLightCanvas::WithBitmapSelected(CBitmap* pBmp, Blit blit) {
    if (!m_pDC || !pBmp || !EnsureMemDC()) return FALSE;
    BITMAP bm{};
    pBmp->GetBitmap(&bm);
    HGDIOBJ hOld = ::SelectObject(m_pMemDC->m_hDC, pBmp->GetSafeHandle());
    blit(bm);
    if (hOld) ::SelectObject(m_pMemDC->m_hDC, hOld);
    return TRUE;
}

BOOL CLightCanvas::StretchBitmap(int x, int y, int cx, int cy, CBitmap* pBmp, COLORREF clrTransparent) {
    return WithBitmapSelected(pBmp, [&](const BITMAP& bm) {
        if (clrTransparent != CLR_INVALID)
            m_pDC->TransparentBlt(x, y, cx, cy, m_pMemDC, 0, 0, bm.bmWidth, bm.bmHeight, clrTransparent);
        else
            m_pDC->StretchBlt(x, y, cx, cy, m_pMemDC, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    });
}

BOOL CLightCanvas::StretchBitmapPart(int x, int y, int cx, int cy, CBitmap* pBmp, int xSrc, int ySrc, int cxSrc,
                                     int cySrc, DWORD /*dwRop: never read, always SRCCOPY*/) {
    return WithBitmapSelected(pBmp, [&](const BITMAP&) {
        m_pDC->StretchBlt(x, y, cx, cy, m_pMemDC, xSrc, ySrc, cxSrc, cySrc, SRCCOPY);
    });
}

BOOL CLightCanvas::FillRectBorder(const RECT* prc, COLORREF clrBorder, COLORREF clrFill) {
    if (!m_pDC) return FALSE;
    if (!prc) return TRUE;  // nothing to draw
    const COLORREF clrBk = m_pDC->GetBkColor();
    const CRect rc(*prc);
    if (clrFill != CLR_INVALID) m_pDC->FillSolidRect(&rc, clrFill);
    if (clrBorder != CLR_INVALID) m_pDC->Draw3dRect(&rc, clrBorder, clrBorder);
    m_pDC->SetBkColor(clrBk);
    return TRUE;
}

BOOL CLightCanvas::SetTextColor(COLORREF clr) {
    if (!m_pDC) return FALSE;
    const COLORREF old = m_pDC->SetTextColor(clr);
    if (m_clrOldText == CLR_INVALID) m_clrOldText = old;
    return TRUE;
}

BOOL CLightCanvas::SetBkMode(int mode) {
    if (!m_pDC) return FALSE;
    const int old = m_pDC->SetBkMode(mode);
    if (m_nOldBkMode == 0) m_nOldBkMode = old;
    return TRUE;
}

BOOL CLightCanvas::SelectFont(CFont* pFont) {
    if (!m_pDC) {
        delete pFont;  // handed over, and nothing will ever select it back
        return FALSE;
    }
    CFont* pOld = m_pDC->SelectObject(pFont);
    if (!m_pOldFont)
        m_pOldFont = pOld;
    else
        delete pOld;  // an earlier canvas font
    return TRUE;
}

BOOL CLightCanvas::SelectPen(CPen* pPen) {
    if (!m_pDC) {
        delete pPen;
        return FALSE;
    }
    CPen* pOld = m_pDC->SelectObject(pPen);
    if (!m_pOldPen)
        m_pOldPen = pOld;
    else
        delete pOld;
    return TRUE;
}

BOOL CLightCanvas::SelectBrush(CBrush* pBrush) {
    if (!m_pDC) {
        delete pBrush;
        return FALSE;
    }
    CGdiObject* pOld = m_pDC->SelectObject(pBrush);
    if (!m_pOldBrush)
        m_pOldBrush = pOld;
    else
        delete pOld;
    return TRUE;
}
