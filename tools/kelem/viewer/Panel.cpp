#include "tools/kelem/viewer/Panel.h"

#include <algorithm>

#include "utf8.h"

namespace kelem {

BOOL CViewerPanel::CreatePanel(const RECT& screen_rect) {
    return CreateEx(0, AfxRegisterWndClass(0), L"kelem view panel", WS_POPUP | WS_VISIBLE, screen_rect.left,
                    screen_rect.top, screen_rect.right - screen_rect.left, screen_rect.bottom - screen_rect.top,
                    nullptr, nullptr);
}

void CViewerPanel::AddEvent(const std::string& line) {
    events_.push_back(line);
    while (events_.size() > kMaxEvents) events_.pop_front();
    if (m_hWnd) Invalidate(FALSE);
}

void CViewerPanel::SetInspector(bool shown, std::vector<std::string> lines) {
    if (shown == inspectorShown_ && lines == inspector_) return;
    inspectorShown_ = shown;
    inspector_ = std::move(lines);
    if (m_hWnd) Invalidate(FALSE);
}

void CViewerPanel::SetStatus(const std::string& status) {
    if (status == status_) return;
    status_ = status;
    if (m_hWnd) Invalidate(FALSE);
}

void CViewerPanel::SetProblems(std::vector<std::string> problems) {
    if (problems == problems_) return;
    problems_ = std::move(problems);
    if (m_hWnd) Invalidate(FALSE);
}

void CViewerPanel::SetColors(COLORREF back, COLORREF text, COLORREF dim) {
    back_ = back;
    text_ = text;
    dim_ = dim;
    if (m_hWnd) Invalidate(FALSE);
}

LRESULT CViewerPanel::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint covers every pixel
        default:
            return CWnd::WindowProc(msg, wParam, lParam);
    }
}

int CViewerPanel::DrawLines(CDC& dc, const std::vector<std::string>& lines, RECT rc, int line_height, COLORREF color) {
    dc.SetTextColor(color);
    int y = rc.top;
    for (const std::string& line : lines) {
        if (y + line_height > rc.bottom) break;
        const std::wstring text = rt::Utf8ToWide(line);
        RECT line_rect{rc.left, y, rc.right, y + line_height};
        dc.DrawText(text.c_str(), int(text.size()), &line_rect,
                    DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        y += line_height;
    }
    return y;
}

void CViewerPanel::Paint() {
    CPaintDC dc(this);
    RECT client_rect;
    GetClientRect(&client_rect);
    dc.FillSolidRect(&client_rect, back_);
    dc.FillSolidRect(0, 0, 1, client_rect.bottom, dim_);  // the seam with the desk
    HGDIOBJ old_font = ::SelectObject(dc.GetSafeHdc(), ::GetStockObject(DEFAULT_GUI_FONT));
    dc.SetBkMode(TRANSPARENT);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc.GetSafeHdc(), &tm);
    const int line_height = tm.tmHeight + 2;
    RECT rc{8, 6, client_rect.right - 6, client_rect.bottom - 4};

    // Status and keys at the bottom.
    const std::vector<std::string> footer = {status_, "F2 inspector  F5 reload  F6 skin  Ctrl+S png"};
    RECT footer_rect{rc.left, rc.bottom - 2 * line_height, rc.right, rc.bottom};
    DrawLines(dc, footer, footer_rect, line_height, dim_);
    rc.bottom = footer_rect.top - 4;

    // Skin problems over the status, the first few (the log file has them all).
    if (!problems_.empty()) {
        constexpr size_t kShown = 6;
        std::vector<std::string> lines{"Skin problems (" + std::to_string(problems_.size()) + ")"};
        lines.insert(lines.end(), problems_.begin(), problems_.begin() + long(std::min(kShown, problems_.size())));
        RECT problems_rect{rc.left, rc.bottom - int(lines.size()) * line_height, rc.right, rc.bottom};
        DrawLines(dc, {lines.front()}, problems_rect, line_height, dim_);
        problems_rect.top += line_height;
        DrawLines(dc, std::vector<std::string>(lines.begin() + 1, lines.end()), problems_rect, line_height,
                  RGB(0xE0, 0x6C, 0x5C));
        rc.bottom = problems_rect.top - line_height - 4;
    }

    if (inspectorShown_) {
        RECT inspector_rect{rc.left, rc.top, rc.right, rc.top + (rc.bottom - rc.top) * 3 / 5};
        int y = DrawLines(dc, {"Inspector (F2)"}, inspector_rect, line_height, dim_);
        inspector_rect.top = y;
        DrawLines(dc, inspector_.empty() ? std::vector<std::string>{"(no element under the pointer)"} : inspector_,
                  inspector_rect, line_height, text_);
        dc.FillSolidRect(rc.left, inspector_rect.bottom + 2, rc.right - rc.left, 1, dim_);
        rc.top = inspector_rect.bottom + 6;
    }
    rc.top = DrawLines(dc, {"Events"}, rc, line_height, dim_);
    // The newest events that fit, oldest first.
    const size_t fit = line_height > 0 ? size_t(std::max(0L, long(rc.bottom - rc.top) / line_height)) : 0;
    const size_t first = events_.size() > fit ? events_.size() - fit : 0;
    DrawLines(dc, std::vector<std::string>(events_.begin() + long(first), events_.end()), rc, line_height, text_);
    ::SelectObject(dc.GetSafeHdc(), old_font);
}

}  // namespace kelem
