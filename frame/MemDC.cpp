#include "MemDC.h"

CMemDC::CMemDC(CDC* pDC, const RECT* pRect) : m_pDC(pDC) {
    if (!pDC) return;  // nothing to paint on: behaves as an empty DC
    m_bMemDC = !pDC->IsPrinting();
    if (m_bMemDC) {
        if (pRect) m_rect = *pRect;
        CreateCompatibleDC(pDC);
        m_bitmap.CreateCompatibleBitmap(pDC, m_rect.Width(), m_rect.Height());
        m_pOldBitmap = SelectObject(&m_bitmap);
        // Painters keep using the target's coordinates.
        SetWindowOrg(m_rect.left, m_rect.top);
    } else {
        m_bPrinting = pDC->m_bPrinting;
        m_hDC = pDC->m_hDC;
        m_hAttribDC = pDC->m_hAttribDC;
    }
}

CMemDC::~CMemDC() {
    if (m_pDC) {
        if (m_bMemDC) {
            ::BitBlt(m_pDC->m_hDC, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left,
                     m_rect.top, SRCCOPY);
            if (m_pOldBitmap) SelectObject(m_pOldBitmap);
        } else {
            // The printer's handles are borrowed: keep CDC from deleting them.
            m_hDC = nullptr;
            m_hAttribDC = nullptr;
        }
    }
    m_bitmap.DeleteObject();
}
