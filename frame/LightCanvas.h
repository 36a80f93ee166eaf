// A drawing object laid over a DC it does not own. It changes DC attributes for the
// painter, remembers each previous value the first time it changes it, and puts
// everything back when it is destroyed. Skin bitmaps are blitted through one memory
// DC of its own, created on the first blit and reused for the rest of the paint.
#pragma once

#include "Unknown.h"

class CLightCanvas : public CUnknown {
public:
    explicit CLightCanvas(CDC* pDC);
    ~CLightCanvas() override;
    CLightCanvas(const CLightCanvas&) = delete;
    CLightCanvas& operator=(const CLightCanvas&) = delete;

    // slot 7: selects every saved object back, restores modes and colours, frees the
    // memory DC. A second call changes nothing.
    virtual BOOL RestoreState();

    BOOL EnsureMemDC();
    // Copies the whole bitmap onto (x, y, cx, cy); clrTransparent other than
    // 0xFFFFFFFF makes that colour transparent.
    BOOL StretchBitmap(int x, int y, int cx, int cy, CBitmap* pBmp, COLORREF clrTransparent);
    // Copies (xSrc, ySrc, cxSrc, cySrc) of the bitmap onto (x, y, cx, cy). dwRop is
    // not read: the copy is always SRCCOPY (callers pass arbitrary values there).
    BOOL StretchBitmapPart(int x, int y, int cx, int cy, CBitmap* pBmp, int xSrc, int ySrc, int cxSrc, int cySrc,
                           DWORD dwRop);
    // Fill and/or one-pixel frame; 0xFFFFFFFF skips either. The DC's background
    // colour is left as it was.
    BOOL FillRectBorder(const RECT* prc, COLORREF clrBorder, COLORREF clrFill);
    BOOL SetTextColor(COLORREF clr);
    BOOL SetBkMode(int mode);
    // Selects a heap font handed over to the canvas.
    BOOL SelectFont(CFont* pFont);
    // Selects a heap pen / brush handed over to the canvas.
    BOOL SelectPen(CPen* pPen);
    BOOL SelectBrush(CBrush* pBrush);

private:
    // Shared by the two blits: selects the bitmap into the memory DC around a call.
    template <class Blit>
    BOOL WithBitmapSelected(CBitmap* pBmp, Blit blit);

    CDC* m_pDC;                    // target; not owned, may be null
    CDC* m_pMemDC = nullptr;       // owned; compatible with the target
    CPen* m_pOldPen = nullptr;     // selected before the canvas's first pen
    CGdiObject* m_pOldBrush = nullptr;
    CFont* m_pOldFont = nullptr;
    int m_nOldBkMode = 0;          // 0 = not changed
    COLORREF m_clrOldBk = CLR_INVALID;    // CLR_INVALID = not changed
    COLORREF m_clrOldText = CLR_INVALID;
};
