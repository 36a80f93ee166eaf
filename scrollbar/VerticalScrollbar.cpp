// Index
//   1. Construction, InitObject and the public operations
//   2. Skin sets
//   3. Thumb geometry: length, offset, limits
//   4. Painting
//   5. Mouse and timers
#include "VerticalScrollbar.h"

#include <algorithm>
#include <climits>

#include "frame/HostServices.h"
#include "frame/LightCanvas.h"
#include "frame/MemDC.h"

namespace {

const UINT kPositionMessage = 1344;
const WPARAM kPositionSender = 1;
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
    const wchar_t* up;
    const wchar_t* down;
    const wchar_t* span;
    const wchar_t* thumb1;
    const wchar_t* thumb2;
    const wchar_t* grip;
};

const SkinKeys kSkinSets[] = {
    {L"scroll_bar.UpArrow", L"scroll_bar.DownArrow", L"scroll_bar.VSPAN", L"scroll_bar.VThumb1", L"scroll_bar.VThumb2",
     L"scroll_bar.bot"},
    {L"scroll_bar.UpArrowTip", L"scroll_bar.DownArrowTip", L"scroll_bar.VSPANTip", L"scroll_bar.VThumbTip1",
     L"scroll_bar.VThumbTip2", nullptr},
    {L"scroll_bar.UpArrow_3", L"scroll_bar.DownArrow_3", L"scroll_bar.VSPAN_3", L"scroll_bar.VThumb1_3",
     L"scroll_bar.VThumb2_3", nullptr},
    {L"scroll_bar.UpArrow_big", L"scroll_bar.DownArrow_big", L"scroll_bar.VSPAN_big", L"scroll_bar.VThumb1_big",
     L"scroll_bar.VThumb2_big", L"scroll_bar.bot_big"},
    {L"scroll_bar.W_UpArrow", L"scroll_bar.W_DownArrow", L"scroll_bar.W_VSPAN", L"scroll_bar.W_VThumb1",
     L"scroll_bar.W_VThumb2", L"scroll_bar.W_bot"},
    {L"scroll_bar.TList.UpArrow", L"scroll_bar.TList.DownArrow", L"scroll_bar.TList.VSPAN", L"scroll_bar.TList.VThumb1",
     L"scroll_bar.TList.VThumb2", L"scroll_bar.TList.bot"},
};
const int kSkinSetCount = int(sizeof kSkinSets / sizeof kSkinSets[0]);

// A place on the DC or in a bitmap: x, y, width, height.
struct Area {
    int x, y, cx, cy;
};

// Blits skin pieces onto the element. A piece without room is skipped (StretchBlt
// would mirror a negative extent over its neighbours), and so is one wholly outside
// the element.
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
CVerticalScrollbar::CVerticalScrollbar() = default;
CVerticalScrollbar::CVerticalScrollbar(const CVerticalScrollbar& other) = default;
CVerticalScrollbar& CVerticalScrollbar::operator=(const CVerticalScrollbar& other) = default;
CVerticalScrollbar::~CVerticalScrollbar() = default;

int CVerticalScrollbar::InitObject(const wchar_t* name, _CONTAINER_INFO* info) {
    const int result = CElementContainer::InitObject(name, info);
    if (result == 0) return result;
    for (UINT msg : {WM_PAINT, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_SIZE, WM_MOUSELEAVE})
        RegisterMessage(msg);
    InitSkinVerticalScrollbarNew(m_nSkinSet);
    return 1;
}

void CVerticalScrollbar::SetWidth(int nWidth) {
    m_nWidth = nWidth;
}
int CVerticalScrollbar::GetWidth() {
    return m_nWidth;
}
void CVerticalScrollbar::SetHeight(int nHeight) {
    m_nHeight = nHeight;
}
int CVerticalScrollbar::GetHeight() {
    return m_nHeight;
}
int CVerticalScrollbar::GetCurrentPosition() {
    return m_nCurPos;
}

void CVerticalScrollbar::SetPageSize(int nPageSize) {
    m_nPageSize = nPageSize;
    CalaThumbLength();
}

void CVerticalScrollbar::SetRowNumber(int nRowNumber) {
    m_nRowNumber = nRowNumber;
    CalaThumbLength();
}

void CVerticalScrollbar::InitVScrollBar(int nSet) {
    m_nSkinSet = nSet;
    InitSkinVerticalScrollbarNew(nSet);
    m_nThumbIndent = (nSet == 1 || nSet == 2) ? 1 : 0;
    m_nThumbPos = m_nArrowHeight;
}

// ---- 2. Skin sets ---------------------------------------------------------------------------
void CVerticalScrollbar::InitSkinVerticalScrollbarNew(int nSet) {
    if (nSet < 0 || nSet >= kSkinSetCount) return;
    CComPtr<CSWPalette> pPalette = GetEnvSkinPalette();
    if (!pPalette) return;  // no skin: keep what the last load left
    const SkinKeys& keys = kSkinSets[nSet];
    m_pDownArrow = pPalette->GetBitmap(keys.down);
    if (nSet == 2) {
        m_pSpan = pPalette->GetBitmap(keys.span);
        m_pThumb1 = pPalette->GetBitmap(keys.thumb1);
        m_pThumb2 = pPalette->GetBitmap(keys.thumb2);
        m_pUpArrow = pPalette->GetBitmap(keys.up);
    } else {
        m_pUpArrow = pPalette->GetBitmap(keys.up);
        m_pSpan = pPalette->GetBitmap(keys.span);
        m_pThumb1 = pPalette->GetBitmap(keys.thumb1);
        m_pThumb2 = pPalette->GetBitmap(keys.thumb2);
        if (keys.grip) m_pGrip = pPalette->GetBitmap(keys.grip);
    }

    const SIZE up_size = BitmapSize(m_pUpArrow);
    if (nSet == 1 || nSet == 2) {  // one frame: width, minimum length and grip stay
        if (m_pUpArrow) {
            m_nArrowWidth = up_size.cx;
            m_nArrowHeight = up_size.cy;
        }
        return;
    }
    if (m_pUpArrow) {
        m_nArrowHeight = up_size.cy;
        m_nArrowWidth = up_size.cx / 3;  // three frames side by side
        m_nWidth = up_size.cx / 3;
    }
    if (m_pThumb1) m_nMinThumbLength = BitmapSize(m_pThumb1).cy;
}

// ---- 3. Thumb geometry -----------------------------------------------------------------------
int CVerticalScrollbar::DrawLength() {
    RECT draw_rect{};
    GetDrawRect(&draw_rect);
    return ClampToInt(int64_t(draw_rect.bottom) - draw_rect.top);
}

void CVerticalScrollbar::CalaThumbLength() {
    InitSkinVerticalScrollbarNew(m_nSkinSet);
    if (m_nPageSize <= 0 || m_nRowNumber <= 0) return;
    int64_t length = m_nMinThumbLength;
    if (m_nPageSize < m_nRowNumber) {
        const int64_t track = int64_t(DrawLength()) - BitmapSize(m_pUpArrow).cy - BitmapSize(m_pDownArrow).cy;
        // 64-bit: track x P passes 2^31 from a few million rows on. A track without room
        // gives 0, which the minimum below replaces as it would any smaller value.
        length = std::max<int64_t>(track, 0) * m_nPageSize / m_nRowNumber;
    }
    if (length < m_nMinThumbLength) length = m_nMinThumbLength;
    m_nThumbLength = ClampToInt(length);
}

int CVerticalScrollbar::UpdateThumbPos(int nPos) {
    if (nPos < 0 || nPos > m_nRowNumber || m_nRowNumber <= 0) return 0;
    const int64_t L = DrawLength(), A = m_nArrowHeight;
    m_nCurPos = nPos;
    if (!m_bDragging) {  // a dragged thumb keeps the offset the pointer gave it
        const double scale = m_nRowNumber >= m_nPageSize ? double(L - 2 * A) / m_nRowNumber : 0.0;
        m_nThumbPos = ClampToInt(A + int64_t(nPos * scale));
        // Against the down arrow. With P >= N this pins every position but 0 as well (scale
        // 0 would give A): the pinning rule is kept over the idea that such a thumb never moves.
        if (nPos != 0 && nPos >= int64_t(m_nRowNumber) - m_nPageSize)
            m_nThumbPos = ClampToInt(L - A - m_nThumbLength);
    }
    // Page repeat stops once the thumb has passed the press point.
    const Parts parts = HitParts();
    if (m_bPageUpPressed && !Inside(parts.pageUp, m_ptPageUp)) m_bPageUpSuspended = true;
    if (m_bPageDownPressed && !Inside(parts.pageDown, m_ptPageDown)) m_bPageDownSuspended = true;
    LimitThumbPosition();
    InvalidContainerRect(kRepaintFlag, nullptr);
    return 1;
}

void CVerticalScrollbar::LimitThumbPosition() {
    const int64_t L = DrawLength(), A = m_nArrowHeight;
    if (int64_t(m_nThumbPos) + m_nThumbLength > L - A) m_nThumbPos = ClampToInt(L - A - m_nThumbLength);
    if (m_nThumbPos < A) m_nThumbPos = int(A);  // wins when the thumb is longer than the track
}

CVerticalScrollbar::Parts CVerticalScrollbar::HitParts() {
    const int L = DrawLength(), A = m_nArrowHeight, Wa = m_nArrowWidth, t = m_nThumbPos;
    const int thumb_end = ClampToInt(int64_t(t) + m_nThumbLength);
    Parts parts;
    parts.up = RECT{0, 0, Wa, A};
    parts.down = RECT{0, L - A, Wa, L};
    parts.thumb = RECT{0, t, Wa, thumb_end};
    parts.pageUp = RECT{0, A, Wa, t};
    parts.pageDown = RECT{0, thumb_end, Wa, L - A};
    return parts;
}

// ---- 4. Painting -----------------------------------------------------------------------------
int CVerticalScrollbar::OnPaint(CPaintDC* pDC) {
    InitSkinVerticalScrollbarNew(m_nSkinSet);
    for (CBitmap* pBmp : {m_pUpArrow, m_pDownArrow, m_pSpan, m_pThumb1, m_pThumb2, m_pGrip})
        if (!pBmp) return 0;
    if (!pDC) return 0;
    CRect draw_rect;
    GetDrawRect(&draw_rect);
    if (draw_rect.IsRectEmpty()) return 1;  // nothing of it can show

    CMemDC memDC(pDC, &draw_rect);
    CLightCanvas canvas(&memDC);
    const COLORREF old_bk = memDC.GetBkColor();
    memDC.FillSolidRect(&draw_rect, RGB(0, 0, 0));
    memDC.SetBkColor(old_bk);

    Painter painter{canvas, draw_rect};
    const int L = draw_rect.Height(), A = m_nArrowHeight, Wa = m_nArrowWidth;
    const Area up_area{draw_rect.left, draw_rect.top, Wa, A};
    const Area track_area{draw_rect.left, draw_rect.top + A, Wa, L - 2 * A};
    const Area down_area{draw_rect.left, draw_rect.top + L - A, Wa, A};
    if (IsOneFrameSet()) {
        painter.Whole(m_pUpArrow, up_area);
        painter.Whole(m_pSpan, track_area);
        painter.Whole(m_pDownArrow, down_area);
    } else {
        painter.Part(m_pUpArrow, up_area, Area{m_nUpState * Wa, 0, Wa, A});
        painter.Whole(m_pSpan, track_area);
        painter.Part(m_pDownArrow, down_area, Area{m_nDownState * Wa, 0, Wa, A});
    }
    if (m_nPageSize < m_nRowNumber) PaintThumb(canvas, draw_rect);  // else no thumb at all
    return 1;  // the canvas restores the DC, then the memory DC shows the picture
}

void CVerticalScrollbar::PaintThumb(CLightCanvas& canvas, const RECT& draw_rect) {
    Painter painter{canvas, draw_rect};
    const int x = draw_rect.left + m_nThumbIndent, y0 = draw_rect.top + m_nThumbPos, len = m_nThumbLength;
    const SIZE head = BitmapSize(m_pThumb1), body = BitmapSize(m_pThumb2), grip = BitmapSize(m_pGrip);
    if (IsOneFrameSet()) {
        painter.Whole(m_pThumb1, Area{x, y0, head.cx, head.cy});
        painter.Whole(m_pThumb2, Area{x, y0 + head.cy, body.cx, ClampToInt(int64_t(len) - head.cy)});
        return;
    }
    const int frame_x = m_nThumbState * m_nArrowWidth;  // pieces step by the arrow's frame width
    painter.Part(m_pThumb1, Area{x, y0, head.cx / 3, head.cy}, Area{frame_x, 0, head.cx / 3, head.cy});
    // The body is laid once per pixel so that its last copy, with the closing edge,
    // ends on the thumb's last row. Each row down to the last copy's top thus shows the
    // body's first row: that row is stretched over them, then the last copy is drawn
    // whole. Copies starting below the element cannot show.
    const int overlap = (m_nSkinSet == 3 || m_nSkinSet == 4) ? 2 : 1;
    const int64_t thumb_end = int64_t(y0) + len;
    const int64_t first_y = int64_t(y0) + head.cy - overlap;
    const int64_t last_y = std::min<int64_t>(thumb_end - body.cy, int64_t(draw_rect.bottom) - 1);
    const int body_cx = body.cx / 3;
    if (body.cy > 0 && body_cx > 0 && first_y <= last_y) {
        painter.Part(m_pThumb2, Area{x, int(first_y), body_cx, ClampToInt(last_y - first_y + 1)},
                     Area{frame_x, 0, body_cx, 1});
        painter.Part(m_pThumb2, Area{x, int(last_y), body_cx, body.cy}, Area{frame_x, 0, body_cx, body.cy});
    }
    if (len > grip.cy) {
        const int grip_y = ClampToInt(y0 + (int64_t(len) - grip.cy) / 2);
        painter.Part(m_pGrip, Area{x, grip_y, grip.cx / 3, grip.cy}, Area{frame_x, 0, grip.cx / 3, grip.cy});
    }
}

// ---- 5. Mouse and timers ---------------------------------------------------------------------
void CVerticalScrollbar::SetState(int& nState, int nValue) {
    if (nState == nValue) return;
    nState = nValue;
    InvalidContainerRect(kRepaintFlag, nullptr);
}

void CVerticalScrollbar::StepTo(int64_t nPos) {
    const int pos = ClampToInt(nPos);
    PostControlMessage(kPositionMessage, kPositionSender, LPARAM(pos));
    UpdateThumbPos(pos);
}

int CVerticalScrollbar::OnLButtonDown(POINT pt) {
    if (!IsActive()) return 1;
    SetCapture();
    m_bButtonDown = 1;
    const Parts parts = HitParts();
    if (Inside(parts.thumb, pt)) {
        m_bThumbPressed = true;
        m_ptDrag = pt;
        // Where the thumb reaches the top edge or the down arrow, the press is left to the host.
        if (pt.x < 0 || pt.y < 1 || pt.y >= DrawLength() - m_nArrowHeight) return 0;
        SetState(m_nThumbState, 2);
        SkipMsg();
        return 1;
    }
    if (Inside(parts.down, pt)) {
        m_bDownPressed = true;
        StartTimer(CHANGE_TIME_EVENT, DWORD(m_nChangeInterval));
        m_bDownSuspended = false;
        SetState(m_nDownState, 2);
    } else if (Inside(parts.up, pt)) {
        m_bUpPressed = true;
        StartTimer(CHANGE_TIME_EVENT, DWORD(m_nChangeInterval));
        m_bUpSuspended = false;
        SetState(m_nUpState, 2);
    } else if (Inside(parts.pageUp, pt)) {
        m_bPageUpPressed = true;
        StartTimer(CHANGE_TIME_EVENT, DWORD(m_nChangeInterval));
        m_bPageUpSuspended = false;
        m_ptPageUp = pt;
    } else if (Inside(parts.pageDown, pt)) {
        m_bPageDownPressed = true;
        StartTimer(CHANGE_TIME_EVENT, DWORD(m_nChangeInterval));
        m_bPageDownSuspended = false;
        m_ptPageDown = pt;
    }
    SkipMsg();
    return 1;
}

// The first pressed part, in this order, gets its repeat timer.
void CVerticalScrollbar::StartRepeat() {
    struct Repeat {
        bool pressed;
        int id;
        bool& running;
    };
    for (Repeat r :
         {Repeat{m_bDownPressed, V_DOWN_ONE_ROW, m_bRowTimer1}, Repeat{m_bUpPressed, V_UP_ONE_ROW, m_bRowTimer2},
          Repeat{m_bPageUpPressed, V_UP_ONE_PAGE, m_bPageTimer3},
          Repeat{m_bPageDownPressed, V_DOWN_ONE_PAGE, m_bPageTimer4}}) {
        if (!r.pressed) continue;
        StopTimer(CHANGE_TIME_EVENT);
        StartTimer(DWORD(r.id), DWORD(m_nUpdownInterval));
        r.running = true;
        return;
    }
}

int CVerticalScrollbar::OnTimer(DWORD dwID) {
    const int64_t pos = m_nCurPos, last = int64_t(m_nRowNumber) - m_nPageSize;
    switch (dwID) {
        case CHANGE_TIME_EVENT:
            StartRepeat();
            break;
        case V_DOWN_ONE_ROW:
            if (!m_bDownSuspended && pos < last) StepTo(pos + 1);
            break;
        case V_UP_ONE_ROW:
            if (!m_bUpSuspended && pos > 0) StepTo(pos - 1);
            break;
        case V_UP_ONE_PAGE:
            if (!m_bPageUpSuspended && pos > 0) StepTo(std::max<int64_t>(pos - m_nPageSize, 0));
            break;
        case V_DOWN_ONE_PAGE:
            if (!m_bPageDownSuspended && pos < last) StepTo(std::min(pos + m_nPageSize, last));
            break;
        default:
            break;
    }
    return 1;
}

int CVerticalScrollbar::OnMouseMove(int x, int y, DWORD) {
    if (!IsActive()) return 1;
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
    if (!m_bUpPressed) SetState(m_nUpState, Inside(parts.up, pt) ? 1 : 0);
    if (!m_bDownPressed) SetState(m_nDownState, Inside(parts.down, pt) ? 1 : 0);
    if (!m_bThumbPressed)
        SetState(m_nThumbState, Inside(parts.thumb, pt) ? 1 : 0);
    else
        m_bDragging = true;
    // Off a pressed part its auto-repeat pauses; back on it, it resumes.
    if (m_bDownPressed) m_bDownSuspended = !Inside(parts.down, pt);
    if (m_bUpPressed) m_bUpSuspended = !Inside(parts.up, pt);
    if (m_bPageUpPressed) m_bPageUpSuspended = !Inside(parts.pageUp, pt);
    if (m_bPageDownPressed) m_bPageDownSuspended = !Inside(parts.pageDown, pt);
    if (m_bDragging) DragTo(x, y);
    SkipMsg();
    return 1;
}

void CVerticalScrollbar::DragTo(int x, int y) {
    const int L = DrawLength(), A = m_nArrowHeight;
    int clamped_y = y;
    if (clamped_y < A) clamped_y = A;
    if (clamped_y > L - A) clamped_y = L - A;
    m_ptDrag.x = x;
    m_nThumbPos = ClampToInt(int64_t(m_nThumbPos) + clamped_y - m_ptDrag.y);
    m_ptDrag.y = clamped_y;
    LimitThumbPosition();

    const int64_t track = int64_t(L) - 2 * int64_t(A);
    if (track <= 0) return;  // no track: an offset maps to no position
    const int64_t offset = int64_t(m_nThumbPos) - A, last = int64_t(m_nRowNumber) - m_nPageSize;
    const int64_t q = offset * m_nRowNumber / track;  // 64-bit: offset x N passes 2^31 easily
    // At least 0 on both branches: with more rows on a page than rows in all, N - P is
    // negative, and a position below 0 is one no row has.
    const int64_t pos =
        std::max<int64_t>(offset + m_nThumbLength < track ? std::min(std::max<int64_t>(q, 0), last) : last, 0);
    InvalidContainerRect(kRepaintFlag, nullptr);
    StepTo(pos);
}

int CVerticalScrollbar::OnLButtonUp(POINT pt) {
    struct Repeat {
        int id;
        bool& running;
    };
    for (Repeat r : {Repeat{V_DOWN_ONE_ROW, m_bRowTimer1}, Repeat{V_UP_ONE_ROW, m_bRowTimer2},
                     Repeat{V_UP_ONE_PAGE, m_bPageTimer3}, Repeat{V_DOWN_ONE_PAGE, m_bPageTimer4}}) {
        if (!r.running) continue;
        StopTimer(DWORD(r.id));
        r.running = false;
    }
    StopTimer(CHANGE_TIME_EVENT);  // a release before auto-repeat began leaves it pending
    ReleaseCapture();
    m_bButtonDown = 0;

    const Parts parts = HitParts();
    const int64_t last = int64_t(m_nRowNumber) - m_nPageSize;
    if (Inside(parts.up, pt)) {
        if (m_bUpPressed && m_nCurPos > 0) StepTo(int64_t(m_nCurPos) - 1);
    } else if (Inside(parts.down, pt) && m_bDownPressed && m_nCurPos < last) {
        StepTo(int64_t(m_nCurPos) + 1);
    }
    if (m_bPageDownPressed && Inside(parts.pageDown, pt)) {
        if (m_nCurPos < last) StepTo(std::min(int64_t(m_nCurPos) + m_nPageSize, last));
    } else if (m_bPageUpPressed && Inside(parts.pageUp, pt)) {
        if (m_nCurPos > 0) StepTo(std::max<int64_t>(int64_t(m_nCurPos) - m_nPageSize, 0));
    }
    m_bUpPressed = m_bDownPressed = m_bDragging = m_bThumbPressed = false;
    m_bPageUpPressed = m_bPageDownPressed = false;
    return 1;  // not consumed; the states stay until the next move or leave
}

int CVerticalScrollbar::OnSize(UINT, int, int) {
    UpdateThumbPos(m_nCurPos);
    return 1;
}

int CVerticalScrollbar::OnUserMessage(UINT, UINT, LPARAM) {
    return 1;
}

int CVerticalScrollbar::OnMouseLeave() {
    m_nUpState = m_nDownState = m_nThumbState = 0;
    InvalidContainerRect(kRepaintFlag, nullptr);
    return 1;
}
