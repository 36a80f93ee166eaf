// A skinned vertical scrollbar: up arrow, track and down arrow from top to bottom, a
// thumb on the track. Arrows and track step by one row or one page, at the release and
// by auto-repeat while held; dragging the thumb maps its pixel offset back to a row.
// Every new position is posted as 1344 (wParam 1) and applied at once.
//
// Coordinates: every rectangle and pointer point is element-local, measured from the
// top-left corner of the draw rectangle.
#pragma once

#include <cstdint>

#include "frame/ElementContainer.h"

class CLightCanvas;

class CVerticalScrollbar : public CElementContainer {
public:
    static const int CHANGE_TIME_EVENT = 5;  // delay from a press to auto-repeat
    static const int V_DOWN_ONE_ROW = 1;
    static const int V_UP_ONE_ROW = 2;
    static const int V_UP_ONE_PAGE = 3;
    static const int V_DOWN_ONE_PAGE = 4;
    static const int nChangeInterval = 250;  // ms
    static const int nUpdownInterval = 50;   // ms
    static const int nDefaultHeight = 100;
    static const int nDefaultWidth = 12;

    CVerticalScrollbar();
    CVerticalScrollbar(const CVerticalScrollbar& other);
    CVerticalScrollbar& operator=(const CVerticalScrollbar& other);
    ~CVerticalScrollbar() override;

    int InitObject(const wchar_t* name, _CONTAINER_INFO* info) override;

    void SetWidth(int nWidth);
    int GetWidth();
    void SetHeight(int nHeight);
    int GetHeight();
    void SetPageSize(int nPageSize);
    void SetRowNumber(int nRowNumber);
    // 0 (nothing changed) for a position outside 0..N or when N <= 0.
    int UpdateThumbPos(int nPos);
    int GetCurrentPosition();
    void InitVScrollBar(int nSet);

protected:
    void InitSkinVerticalScrollbarNew(int nSet);

private:
    // Hit rectangles, element-local.
    struct Parts {
        RECT up, down, thumb, pageUp, pageDown;
    };

    int OnPaint(CPaintDC* pDC) override;
    int OnLButtonDown(POINT pt) override;
    int OnLButtonUp(POINT pt) override;
    int OnSize(UINT nType, int cx, int cy) override;
    int OnTimer(DWORD dwID) override;
    int OnMouseMove(int x, int y, DWORD dwFlags) override;
    int OnUserMessage(UINT msg, UINT wParam, LPARAM lParam) override;
    int OnMouseLeave() override;

    void CalaThumbLength();
    void LimitThumbPosition();

    int DrawLength();  // L
    Parts HitParts();
    bool IsOneFrameSet() const { return m_nSkinSet == 1 || m_nSkinSet == 2; }
    void SetState(int& nState, int nValue);  // repaints when the state changes
    void StepTo(int64_t nPos);               // posts 1344 and applies the position
    void DragTo(int x, int y);
    void StartRepeat();  // timer 5 has fired
    void PaintThumb(CLightCanvas& canvas, const RECT& draw_rect);

public:
    int m_nUpState = 0;  // 0 normal, 1 hot, 2 pressed
    int m_nDownState = 0;
    int m_nThumbState = 0;
    int m_bButtonDown = 0;  // from a press on the element to its release
    bool m_bPageTimer4 = false;
    bool m_bPageTimer3 = false;
    bool m_bRowTimer1 = false;
    bool m_bRowTimer2 = false;
    bool m_bUpPressed = false;
    bool m_bDownPressed = false;
    bool m_bDragging = false;
    bool m_bThumbPressed = false;
    bool m_bPageUpPressed = false;
    bool m_bPageDownPressed = false;
    bool m_bDownSuspended = false;
    bool m_bUpSuspended = false;
    bool m_bPageUpSuspended = false;
    bool m_bPageDownSuspended = false;
    int m_nChangeInterval = nChangeInterval;
    int m_nUpdownInterval = nUpdownInterval;
    int m_nThumbPos = 12;  // until InitVScrollBar: against the default 12-pixel up arrow
    int m_nArrowWidth = 12;
    int m_nArrowHeight = 12;  // A
    int m_nWidth = nDefaultWidth;
    int m_nHeight = nDefaultHeight;
    int m_nThumbLength = 100;
    int m_nCurPos = 0;
    int m_nMinThumbLength = 0;
    int m_nThumbIndent = 0;  // until InitVScrollBar: that of the default set 0
    int m_nSkinSet = 0;
    int m_nRowNumber = 0;  // N
    int m_nPageSize = 0;   // P
    POINT m_ptDrag{0, 0};
    POINT m_ptPageUp{0, 0};
    POINT m_ptPageDown{0, 0};
    CBitmap* m_pUpArrow = nullptr;  // skin bitmaps: the palette's, never freed here
    CBitmap* m_pDownArrow = nullptr;
    CBitmap* m_pSpan = nullptr;
    CBitmap* m_pThumb1 = nullptr;  // thumb head
    CBitmap* m_pThumb2 = nullptr;  // thumb body with its closing edge
    CBitmap* m_pGrip = nullptr;
};
