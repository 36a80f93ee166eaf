// A skinned horizontal scrollbar: left arrow, track and right arrow from left to right,
// a thumb on the track. Arrows and track step by one column or one page, at the release
// and by auto-repeat while held; dragging the thumb maps its pixel offset back to a
// column. Every new position is posted as 1345 (wParam 2) and applied at once.
//
// Not a copy of the vertical bar turned on its side: it has no minimum thumb length,
// no inactive test, pins the thumb at N - 1 and steps forward to N - 1 in places.
//
// Coordinates: every rectangle and pointer point is element-local, measured from the
// top-left corner of the draw rectangle.
#pragma once

#include <cstdint>

#include "frame/ElementContainer.h"

class CLightCanvas;

class CHorizontalScrollbar : public CElementContainer {
public:
    static const int CHANGE_TIME_EVENT = 5;  // delay from a press to auto-repeat
    static const int H_LEFT_ONE_ROW = 1;
    static const int H_RIGHT_ONE_ROW = 2;
    static const int H_LEFT_ONE_PAGE = 3;
    static const int H_RIGHT_ONE_PAGE = 4;

    CHorizontalScrollbar();
    CHorizontalScrollbar(const CHorizontalScrollbar& other);
    CHorizontalScrollbar& operator=(const CHorizontalScrollbar& other);
    ~CHorizontalScrollbar() override;

    int InitObject(const wchar_t* name, _CONTAINER_INFO* info) override;

    void SetWidth(int nWidth);
    int GetWidth();
    void SetHeight(int nHeight);
    int GetHeight();
    void SetPageSize(int nPageSize);
    void SetColumnNumber(int nColumnNumber);
    // 0 (nothing changed) for a position outside 0..N or when N <= 0.
    int UpdateThumbPos(int nPos);
    void InitHScrollBar(int nSet);

private:
    // Hit rectangles, element-local.
    struct Parts {
        RECT left, right, thumb, pageLeft, pageRight;
    };

    int OnPaint(CPaintDC* pDC) override;
    int OnLButtonDown(POINT pt) override;
    int OnLButtonUp(POINT pt) override;
    int OnSize(UINT nType, int cx, int cy) override;
    int OnTimer(DWORD dwID) override;
    int OnMouseMove(int x, int y, DWORD dwFlags) override;
    int OnUserMessage(UINT msg, UINT wParam, LPARAM lParam) override;
    int OnMouseLeave() override;

    int GetCurrentPosition();
    void InitSkinHorizontalScrollbarNew(int nSet);
    void CalaThumbLength();
    void LimitThumbPosition();
    void Draw(CDC* pDC);

    int DrawLength();  // L
    Parts HitParts();
    void SetState(int& nState, int nValue);  // repaints when the state changes
    void StepTo(int64_t nPos);               // posts 1345 and applies the position
    void DragTo(int x, int y);
    void StartRepeat();  // timer 5 has fired

public:
    bool m_bPageTimer3 = false;
    bool m_bPageTimer4 = false;
    bool m_bRowTimer1 = false;
    bool m_bRowTimer2 = false;
    int m_nCurPos = 0;
    bool m_bRightPressed = false;
    bool m_bLeftPressed = false;
    bool m_bDragging = false;
    bool m_bThumbPressed = false;
    bool m_bPageLeftPressed = false;
    bool m_bPageRightPressed = false;
    bool m_bLeftSuspended = false;
    bool m_bRightSuspended = false;
    bool m_bPageLeftSuspended = false;
    bool m_bPageRightSuspended = false;
    int m_nThumbPos = 12;  // until InitHScrollBar: against the default 12-pixel left arrow
    int m_nWidth = 100;
    int m_nHeight = 12;
    int m_nThumbLength = 50;
    POINT m_ptDrag{0, 0};
    POINT m_ptPageLeft{0, 0};
    POINT m_ptPageRight{0, 0};
    int m_nArrowWidth = 12;  // A
    int m_nArrowHeight = 12;
    int m_nColumnNumber = 23;  // N
    int m_nPageSize = 16;      // P
    int m_nThumbIndent = 0;    // until InitHScrollBar: that of the default set 0
    int m_bButtonDown = 0;     // nothing raises it: this bar forwards no pointer moves
    int m_nChangeInterval = 250;
    int m_nUpdownInterval = 50;
    CBitmap* m_pLeftArrow = nullptr;  // skin bitmaps: the palette's, never freed here
    CBitmap* m_pRightArrow = nullptr;
    CBitmap* m_pSpan = nullptr;
    CBitmap* m_pThumb1 = nullptr;  // thumb head
    CBitmap* m_pThumb2 = nullptr;  // thumb body with its closing edge
    CBitmap* m_pGrip = nullptr;
    int m_nSkinSet = 0;
    int m_nLeftState = 0;  // 0 normal, 1 hot, 2 pressed
    int m_nRightState = 0;
    int m_nThumbState = 0;
};
