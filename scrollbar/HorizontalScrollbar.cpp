// Index
//   1. Construction, InitObject and the public operations
//   2. Skin sets
//   3. Thumb geometry: length, offset, limits
//   4. Painting
//   5. Mouse and timers
#include "HorizontalScrollbar.h"

#include <algorithm>
#include <climits>

#include "frame/HostServices.h"
#include "frame/LightCanvas.h"
#include "frame/MemDC.h"

namespace {

const UINT kPositionMessage = 1345;
const WPARAM kPositionSender = 2;
const int kRepaintFlag = 0;  // the paint covers every pixel of the element

int ClampToInt(int64_t value) {
    return int(std::min<int64_t>(std::max<int64_t>(value, INT_MIN), INT_MAX));
}

SIZE BitmapSize(CBitmap* pBmp) {
    BITMAP bm{};
    if (pBmp) pBmp->GetBitmap(&bm);
    return SIZE{bm.bmWidth, bm.bmHeight};  // (0, 0) for a missing bitmap
}

bool Inside(const RECT& rc, POINT pt) {
    return ::PtInRect(&rc, pt) != 0;
}

// Palette keys of one skin set; a null grip key means the set loads no grip.
struct SkinKeys {
    const wchar_t* left;
    const wchar_t* right;
    const wchar_t* span;
    const wchar_t* thumb1;
    const wchar_t* thumb2;
    const wchar_t* grip;
};

const SkinKeys kSkinSets[] = {
    {L"scroll_bar.LeftArrow", L"scroll_bar.RightArrow", L"scroll_bar.HSPAN", L"scroll_bar.HThumb1",
     L"scroll_bar.HThumb2", L"scroll_bar.HBot"},
    {L"scroll_bar.LeftArrow_2", L"scroll_bar.RightArrow_2", L"scroll_bar.HSPAN_2", L"scroll_bar.HThumb1_2",
     L"scroll_bar.HThumb2_2", nullptr},
    {L"scroll_bar.LeftArrow_big", L"scroll_bar.RightArrow_big", L"scroll_bar.HSPAN_big", L"scroll_bar.HThumb1_big",
     L"scroll_bar.HThumb2_big", L"scroll_bar.HBot_big"},
    {L"scroll_bar.W_LeftArrow", L"scroll_bar.W_RightArrow", L"scroll_bar.W_HSPAN", L"scroll_bar.W_HThumb1",
     L"scroll_bar.W_HThumb2", L"scroll_bar.W_HBot"},
    {L"scroll_bar.TList.LeftArrow", L"scroll_bar.TList.RightArrow", L"scroll_bar.TList.HSPAN",
     L"scroll_bar.TList.HThumb1", L"scroll_bar.TList.HThumb2", L"scroll_bar.TList.HBot"},
};
const int kSkinSetCount = int(sizeof kSkinSets / sizeof kSkinSets[0]);
const int kOneFrameSet = 1;

// A place on the DC or in a bitmap: x, y, width, height.
struct Area {
    int x, y, cx, cy;
};

// Blits skin pieces onto the element. A piece without room is skipped (StretchBlt
// would mirror a negative extent over its neighbours), and so is one wholly outside
// the element: an overlong thumb reaches far beyond it.
struct Painter {
    CLightCanvas& canvas;
    RECT draw_rect;

    bool Shows(const Area& dst_area) const {
        if (dst_area.cx <= 0 || dst_area.cy <= 0) return false;
        return int64_t(dst_area.x) < draw_rect.right && int64_t(dst_area.x) + dst_area.cx > draw_rect.left &&
               int64_t(dst_area.y) < draw_rect.bottom && int64_t(dst_area.y) + dst_area.cy > draw_rect.top;
    }
    void Part(CBitmap* pBmp, const Area& dst_area, const Area& src_area) {
        if (!Shows(dst_area)) return;
        canvas.StretchBitmapPart(dst_area.x, dst_area.y, dst_area.cx, dst_area.cy, pBmp, src_area.x, src_area.y,
                                 src_area.cx, src_area.cy, SRCCOPY);
    }
    void Whole(CBitmap* pBmp, const Area& dst_area) {
        if (!Shows(dst_area)) return;
        canvas.StretchBitmap(dst_area.x, dst_area.y, dst_area.cx, dst_area.cy, pBmp, CLR_INVALID);
    }
};

}  // namespace

// ---- 1. Construction, InitObject and the public operations -----------------------------------
CHorizontalScrollbar::CHorizontalScrollbar() = default;
CHorizontalScrollbar::CHorizontalScrollbar(const CHorizontalScrollbar& other) = default;
CHorizontalScrollbar& CHorizontalScrollbar::operator=(const CHorizontalScrollbar& other) = default;
CHorizontalScrollbar::~CHorizontalScrollbar() = default;

int CHorizontalScrollbar::InitObject(const wchar_t* name, _CONTAINER_INFO* info) {
    const int result = CElementContainer::InitObject(name, info);
    if (result == 0) return result;
    for (UINT msg : {WM_PAINT, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_SIZE, WM_MOUSELEAVE})
        RegisterMessage(msg);
    InitSkinHorizontalScrollbarNew(m_nSkinSet);
    return 1;
}

void CHorizontalScrollbar::SetWidth(int nWidth) {
    m_nWidth = nWidth;
}
int CHorizontalScrollbar::GetWidth() {
    return m_nWidth;
}
void CHorizontalScrollbar::SetHeight(int nHeight) {
    m_nHeight = nHeight;
}
int CHorizontalScrollbar::GetHeight() {
    return m_nHeight;
}
int CHorizontalScrollbar::GetCurrentPosition() {
    return m_nCurPos;
}

void CHorizontalScrollbar::SetPageSize(int nPageSize) {
    m_nPageSize = nPageSize;
    CalaThumbLength();
}

void CHorizontalScrollbar::SetColumnNumber(int nColumnNumber) {
    m_nColumnNumber = nColumnNumber;
    CalaThumbLength();
}

void CHorizontalScrollbar::InitHScrollBar(int nSet) {
    m_nSkinSet = nSet;
    InitSkinHorizontalScrollbarNew(nSet);
    m_nThumbIndent = nSet == 1 ? 1 : 0;
    m_nThumbPos = m_nArrowWidth;
}

// ---- 2. Skin sets ---------------------------------------------------------------------------
void CHorizontalScrollbar::InitSkinHorizontalScrollbarNew(int nSet) {
    if (nSet < 0 || nSet >= kSkinSetCount) return;
    CComPtr<CSWPalette> pPalette = GetEnvSkinPalette();
    if (!pPalette) return;  // no skin: keep what the last load left
    const SkinKeys& keys = kSkinSets[nSet];
    m_pLeftArrow = pPalette->GetBitmap(keys.left);
    m_pRightArrow = pPalette->GetBitmap(keys.right);
    m_pSpan = pPalette->GetBitmap(keys.span);
    m_pThumb1 = pPalette->GetBitmap(keys.thumb1);
    m_pThumb2 = pPalette->GetBitmap(keys.thumb2);
    if (keys.grip) m_pGrip = pPalette->GetBitmap(keys.grip);
    if (!m_pLeftArrow) return;  // the sizes stay
    const SIZE left_size = BitmapSize(m_pLeftArrow);
    m_nArrowWidth = nSet == kOneFrameSet ? left_size.cx : left_size.cx / 3;  // three frames side by side
    m_nArrowHeight = left_size.cy;
    m_nHeight = left_size.cy;
}

// ---- 3. Thumb geometry -----------------------------------------------------------------------
int CHorizontalScrollbar::DrawLength() {
    RECT draw_rect{};
    GetDrawRect(&draw_rect);
    return ClampToInt(int64_t(draw_rect.right) - draw_rect.left);
}

void CHorizontalScrollbar::CalaThumbLength() {
    InitSkinHorizontalScrollbarNew(m_nSkinSet);
    if (m_nPageSize <= 0 || m_nColumnNumber <= 0) return;
    int64_t left_arrow = BitmapSize(m_pLeftArrow).cx, right_arrow = BitmapSize(m_pRightArrow).cx;
    if (m_nSkinSet != kOneFrameSet) {
        left_arrow /= 3;
        right_arrow /= 3;
    }
    // No minimum and no P < N test: with P >= N the thumb covers the track or more.
    // 64-bit: track x P passes 2^31 easily; a track without room gives a 0-pixel thumb
    // rather than a negative one.
    const int64_t track = std::max<int64_t>(int64_t(DrawLength()) - left_arrow - right_arrow, 0);
    m_nThumbLength = ClampToInt(track * m_nPageSize / m_nColumnNumber);
}

int CHorizontalScrollbar::UpdateThumbPos(int nPos) {
    if (nPos < 0 || nPos > m_nColumnNumber || m_nColumnNumber <= 0) return 0;
    const int64_t L = DrawLength(), A = m_nArrowWidth;
    m_nCurPos = nPos;
    if (!m_bDragging) {  // a dragged thumb keeps the offset the pointer gave it
        const double scale = double(L - 2 * A) / m_nColumnNumber;
        m_nThumbPos = ClampToInt(A + int64_t(scale * nPos));
    }
    // The last column pins the thumb to the right arrow, during a drag too.
    if (nPos == int64_t(m_nColumnNumber) - 1) m_nThumbPos = ClampToInt(L - A - m_nThumbLength);
    // Page repeat stops once the thumb has passed the press point.
    const Parts parts = HitParts();
    if (m_bPageLeftPressed && !Inside(parts.pageLeft, m_ptPageLeft)) m_bPageLeftSuspended = true;
    if (m_bPageRightPressed && !Inside(parts.pageRight, m_ptPageRight)) m_bPageRightSuspended = true;
    LimitThumbPosition();
    InvalidContainerRect(kRepaintFlag, nullptr);
    return 1;
}

void CHorizontalScrollbar::LimitThumbPosition() {
    const int64_t L = DrawLength(), A = m_nArrowWidth;
    if (int64_t(m_nThumbPos) + m_nThumbLength > L - A) m_nThumbPos = ClampToInt(L - A - m_nThumbLength);
    if (m_nThumbPos < A) m_nThumbPos = int(A);  // wins when the thumb is longer than the track
}

CHorizontalScrollbar::Parts CHorizontalScrollbar::HitParts() {
    const int L = DrawLength(), A = m_nArrowWidth, Ha = m_nArrowHeight, t = m_nThumbPos;
    const int thumb_end = ClampToInt(int64_t(t) + m_nThumbLength);
    Parts parts;
    parts.left = RECT{0, 0, A, Ha};
    parts.right = RECT{L - A, 0, L, Ha};
    parts.thumb = RECT{t, 0, thumb_end, Ha};
    parts.pageLeft = RECT{A, 0, t, Ha};
    parts.pageRight = RECT{thumb_end, 0, L - A, Ha};
    return parts;
}

// ---- 4. Painting -----------------------------------------------------------------------------
int CHorizontalScrollbar::OnPaint(CPaintDC* pDC) {
    Draw(pDC);
    return 1;
}

void CHorizontalScrollbar::Draw(CDC* pDC) {
    InitSkinHorizontalScrollbarNew(m_nSkinSet);
    for (CBitmap* pBmp : {m_pLeftArrow, m_pRightArrow, m_pSpan, m_pThumb1, m_pThumb2, m_pGrip})
        if (!pBmp) return;
    if (!pDC) return;
    CRect draw_rect;
    GetDrawRect(&draw_rect);
    if (draw_rect.IsRectEmpty()) return;  // nothing of it can show

    CMemDC memDC(pDC, &draw_rect);
    CLightCanvas canvas(&memDC);
    const COLORREF old_bk = memDC.GetBkColor();
    memDC.FillSolidRect(&draw_rect, RGB(0, 0, 0));
    memDC.SetBkColor(old_bk);

    Painter painter{canvas, draw_rect};
    const int L = draw_rect.Width(), A = m_nArrowWidth, Ha = m_nArrowHeight;
    const Area left_area{draw_rect.left, draw_rect.top, A, Ha};
    const Area track_area{draw_rect.left + A, draw_rect.top, L - 2 * A, Ha};
    const Area right_area{draw_rect.left + L - A, draw_rect.top, A, Ha};
    const bool one_frame = m_nSkinSet == kOneFrameSet;
    if (one_frame) {
        painter.Whole(m_pLeftArrow, left_area);
        painter.Whole(m_pSpan, track_area);
        painter.Whole(m_pRightArrow, right_area);
    } else {
        painter.Part(m_pLeftArrow, left_area, Area{m_nLeftState * A, 0, A, Ha});
        painter.Whole(m_pSpan, track_area);
        painter.Part(m_pRightArrow, right_area, Area{m_nRightState * A, 0, A, Ha});
    }

    // The thumb is drawn whatever N and P are.
    const int x0 = ClampToInt(int64_t(draw_rect.left) + m_nThumbPos), y = draw_rect.top + m_nThumbIndent;
    const int len = m_nThumbLength;
    const SIZE head = BitmapSize(m_pThumb1), body = BitmapSize(m_pThumb2), grip = BitmapSize(m_pGrip);
    if (one_frame) {
        painter.Whole(m_pThumb1, Area{x0, y, head.cx, head.cy});
        painter.Whole(m_pThumb2,
                      Area{ClampToInt(int64_t(x0) + head.cx), y, ClampToInt(int64_t(len) - head.cx), body.cy});
        return;
    }
    const int frame_y = m_nThumbState * Ha;  // pieces step by the arrow's frame height
    painter.Part(m_pThumb1, Area{x0, y, head.cx, head.cy / 3}, Area{0, frame_y, head.cx, head.cy / 3});
    // The body is laid once per pixel so that its last copy, with the closing edge,
    // ends on the thumb's last column. Each column up to the last copy's left edge thus
    // shows the body's first column: that column is stretched over them, then the last
    // copy is drawn whole. Copies starting right of the element cannot show, and columns
    // left of it are clipped whichever copy they came from.
    const int overlap = (m_nSkinSet == 2 || m_nSkinSet == 3) ? 2 : 1;
    const int64_t thumb_end = int64_t(x0) + len;
    const int64_t first_x = std::max<int64_t>(int64_t(x0) + head.cx - overlap, int64_t(draw_rect.left));
    const int64_t last_x = std::min<int64_t>(thumb_end - body.cx, int64_t(draw_rect.right) - 1);
    const int body_cy = body.cy / 3;
    if (body.cx > 0 && body_cy > 0 && int64_t(x0) + head.cx - overlap <= last_x) {
        if (first_x < last_x)
            painter.Part(m_pThumb2, Area{int(first_x), y, ClampToInt(last_x - first_x), body_cy},
                         Area{0, frame_y, 1, body_cy});
        painter.Part(m_pThumb2, Area{int(last_x), y, body.cx, body_cy}, Area{0, frame_y, body.cx, body_cy});
    }
    if (len > grip.cx / 3) {
        const int grip_x = ClampToInt(x0 + (int64_t(len) - grip.cx / 3) / 2);
        painter.Part(m_pGrip, Area{grip_x, y, grip.cx / 3, grip.cy}, Area{m_nThumbState * Ha, 0, grip.cx / 3, grip.cy});
    }
}

// ---- 5. Mouse and timers ---------------------------------------------------------------------
void CHorizontalScrollbar::SetState(int& nState, int nValue) {
    if (nState == nValue) return;
    nState = nValue;
    InvalidContainerRect(kRepaintFlag, nullptr);
}

void CHorizontalScrollbar::StepTo(int64_t nPos) {
    const int pos = ClampToInt(nPos);
    PostControlMessage(kPositionMessage, kPositionSender, LPARAM(pos));
    UpdateThumbPos(pos);
}

int CHorizontalScrollbar::OnLButtonDown(POINT pt) {
    SetCapture();  // m_bButtonDown stays 0
    const Parts parts = HitParts();
    if (Inside(parts.thumb, pt)) {
        m_bThumbPressed = true;
        m_ptDrag = pt;
        SetState(m_nThumbState, 2);
        SkipMsg();
        return 1;
    }
    if (Inside(parts.left, pt)) {
        m_bLeftPressed = true;
        StartTimer(CHANGE_TIME_EVENT, DWORD(m_nChangeInterval));
        m_bLeftSuspended = false;
        SetState(m_nLeftState, 2);
    } else if (Inside(parts.right, pt)) {
        m_bRightPressed = true;
        StartTimer(CHANGE_TIME_EVENT, DWORD(m_nChangeInterval));
        m_bRightSuspended = false;
        SetState(m_nRightState, 2);
    } else if (Inside(parts.pageLeft, pt)) {
        m_bPageLeftPressed = true;
        StartTimer(CHANGE_TIME_EVENT, DWORD(m_nChangeInterval));
        m_bPageLeftSuspended = false;
        m_ptPageLeft = pt;
    } else if (Inside(parts.pageRight, pt)) {
        m_bPageRightPressed = true;
        StartTimer(CHANGE_TIME_EVENT, DWORD(m_nChangeInterval));
        m_bPageRightSuspended = false;
        m_ptPageRight = pt;
    }
    SkipMsg();
    return 1;
}

// The first pressed part, in this order, gets its repeat timer.
void CHorizontalScrollbar::StartRepeat() {
    struct Repeat {
        bool pressed;
        int id;
        bool& running;
    };
    for (Repeat r :
         {Repeat{m_bLeftPressed, H_LEFT_ONE_ROW, m_bRowTimer1}, Repeat{m_bRightPressed, H_RIGHT_ONE_ROW, m_bRowTimer2},
          Repeat{m_bPageLeftPressed, H_LEFT_ONE_PAGE, m_bPageTimer3},
          Repeat{m_bPageRightPressed, H_RIGHT_ONE_PAGE, m_bPageTimer4}}) {
        if (!r.pressed) continue;
        StopTimer(CHANGE_TIME_EVENT);
        StartTimer(DWORD(r.id), DWORD(m_nUpdownInterval));
        r.running = true;
        return;
    }
}

int CHorizontalScrollbar::OnTimer(DWORD dwID) {
    const int64_t pos = m_nCurPos, last_page = int64_t(m_nColumnNumber) - m_nPageSize;
    switch (dwID) {
        case CHANGE_TIME_EVENT:
            StartRepeat();
            break;
        case H_LEFT_ONE_ROW:
            if (!m_bLeftSuspended && pos > 0) StepTo(pos - 1);
            break;
        case H_RIGHT_ONE_ROW:
            if (!m_bRightSuspended && pos < last_page) StepTo(pos + 1);
            break;
        case H_LEFT_ONE_PAGE:
            if (!m_bPageLeftSuspended && pos > 0) StepTo(std::max<int64_t>(pos - m_nPageSize, 0));
            break;
        case H_RIGHT_ONE_PAGE:
            if (!m_bPageRightSuspended && pos < last_page)
                StepTo(std::min(pos + m_nPageSize, int64_t(m_nColumnNumber) - 1));
            break;
        default:
            break;
    }
    return 1;
}

int CHorizontalScrollbar::OnMouseMove(int x, int y, DWORD) {
    if (m_bButtonDown) {
        RECT container_rect{};
        GetContainerRect(&container_rect);
        // Window coordinates, each cut to 16 bits (unsigned sums: no overflow).
        const WORD window_x = WORD(uint32_t(container_rect.left) + uint32_t(x));
        const WORD window_y = WORD(uint32_t(container_rect.top) + uint32_t(y));
        PostControlMessage(WM_MOUSEMOVE, 0, MAKELPARAM(window_x, window_y));
    }
    const POINT pt{x, y};
    const Parts parts = HitParts();  // as they stood before this move
    if (!m_bLeftPressed) SetState(m_nLeftState, Inside(parts.left, pt) ? 1 : 0);
    if (!m_bRightPressed) SetState(m_nRightState, Inside(parts.right, pt) ? 1 : 0);
    if (!m_bThumbPressed)
        SetState(m_nThumbState, Inside(parts.thumb, pt) ? 1 : 0);
    else
        m_bDragging = true;
    // Off a pressed part its auto-repeat pauses; back on it, it resumes.
    if (m_bLeftPressed) m_bLeftSuspended = !Inside(parts.left, pt);
    if (m_bRightPressed) m_bRightSuspended = !Inside(parts.right, pt);
    if (m_bPageLeftPressed) m_bPageLeftSuspended = !Inside(parts.pageLeft, pt);
    if (m_bPageRightPressed) m_bPageRightSuspended = !Inside(parts.pageRight, pt);
    if (m_bDragging) DragTo(x, y);
    SkipMsg();
    return 1;
}

void CHorizontalScrollbar::DragTo(int x, int y) {
    // The pointer x is not clamped: LimitThumbPosition alone keeps the thumb on the track.
    m_ptDrag.y = y;
    m_nThumbPos = ClampToInt(int64_t(m_nThumbPos) + x - m_ptDrag.x);
    m_ptDrag.x = x;
    LimitThumbPosition();

    const int64_t A = m_nArrowWidth, track = int64_t(DrawLength()) - 2 * A;
    if (track <= 0) return;  // no track: an offset maps to no position
    const int64_t offset = int64_t(m_nThumbPos) - A, last_page = int64_t(m_nColumnNumber) - m_nPageSize;
    const int64_t q = int64_t(double(offset) * m_nColumnNumber / double(track));
    // N - P is sent as it is, also when negative; UpdateThumbPos then refuses it.
    const int64_t pos = offset + m_nThumbLength < track ? std::min(std::max<int64_t>(q, 0), last_page) : last_page;
    InvalidContainerRect(kRepaintFlag, nullptr);
    StepTo(pos);
}

int CHorizontalScrollbar::OnLButtonUp(POINT pt) {
    struct Repeat {
        int id;
        bool& running;
    };
    for (Repeat r : {Repeat{H_LEFT_ONE_ROW, m_bRowTimer1}, Repeat{H_RIGHT_ONE_ROW, m_bRowTimer2},
                     Repeat{H_LEFT_ONE_PAGE, m_bPageTimer3}, Repeat{H_RIGHT_ONE_PAGE, m_bPageTimer4}}) {
        if (!r.running) continue;
        StopTimer(DWORD(r.id));
        r.running = false;
    }
    StopTimer(CHANGE_TIME_EVENT);  // a release before auto-repeat began leaves it pending
    ReleaseCapture();
    m_bButtonDown = 0;

    const Parts parts = HitParts();
    // The two arrows are tried independently; forward stops at N - 1 here.
    if (Inside(parts.left, pt) && m_bLeftPressed && m_nCurPos > 0) StepTo(int64_t(m_nCurPos) - 1);
    if (Inside(parts.right, pt) && m_bRightPressed && m_nCurPos < int64_t(m_nColumnNumber) - 1)
        StepTo(int64_t(m_nCurPos) + 1);
    const int64_t last_page = int64_t(m_nColumnNumber) - m_nPageSize;
    if (m_bPageLeftPressed && Inside(parts.pageLeft, pt)) {
        if (m_nCurPos > 0) StepTo(std::max<int64_t>(int64_t(m_nCurPos) - m_nPageSize, 0));
    } else if (m_bPageRightPressed && Inside(parts.pageRight, pt)) {
        if (m_nCurPos < last_page) StepTo(std::min(int64_t(m_nCurPos) + m_nPageSize, last_page));
    }
    m_bLeftPressed = m_bRightPressed = m_bDragging = m_bThumbPressed = false;
    m_bPageLeftPressed = m_bPageRightPressed = false;
    return 1;  // not consumed; the states stay until the next move or leave
}

int CHorizontalScrollbar::OnSize(UINT, int, int) {
    UpdateThumbPos(m_nCurPos);
    return 1;
}

int CHorizontalScrollbar::OnUserMessage(UINT, UINT, LPARAM) {
    return 1;
}

int CHorizontalScrollbar::OnMouseLeave() {
    m_nLeftState = m_nRightState = m_nThumbState = 0;
    InvalidContainerRect(kRepaintFlag, nullptr);
    return 1;
}
