// A DC for flicker-free painting: drawing goes to an off-screen bitmap of the drawing
// rectangle, copied onto the target DC in one BitBlt when the object is destroyed.
// Over a printing DC it draws straight onto the printer's handles.
#pragma once

#include "platform.h"

class CMemDC : public CDC {
public:
    CMemDC(CDC* pDC, const RECT* pRect);
    ~CMemDC() override;
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

private:
    CDC* m_pDC = nullptr;             // target; not owned
    CBitmap m_bitmap;                 // off-screen, drawing-rectangle sized
    CGdiObject* m_pOldBitmap = nullptr;  // displaced by m_bitmap
    CRect m_rect;                     // target's logical coordinates
    BOOL m_bMemDC = FALSE;            // TRUE unless the target is printing
};
