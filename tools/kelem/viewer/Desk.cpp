// Index
//   1. Decoding control messages
//   2. The quote grid: cells, painting, context menu
//   3. The desk: building, reacting to 1344/1345, skin, layout description
//   4. The "grid" kind
#include "tools/kelem/viewer/Desk.h"

#include <algorithm>

#include "button/ElementButton.h"
#include "frame/HostServices.h"
#include "utf8.h"
#include "scrollbar/HorizontalScrollbar.h"
#include "scrollbar/VerticalScrollbar.h"
#include "tabcontrol/ElementTabControl.h"

namespace kelem {

// ---- 1. Decoding control messages -----------------------------------------------------------------
namespace {
std::string Id(WPARAM wParam) {
    return std::to_string(static_cast<int>(wParam));  // IDs are ints the host chose
}
}  // namespace

std::string DecodeControlMessage(const ControlMessage& cm) {
    const std::string n = std::to_string(cm.msg);
    switch (cm.msg) {
        case 1324:
            return n + " tab selected id=" + Id(cm.wParam);
        case 1325:
            return n + " text button id=" + Id(cm.wParam);
        case 1326:
            return n + " menu command id=" + Id(cm.wParam);
        case 1334:
            return n + " button clicked id=" + Id(cm.wParam);
        case 1344:
            return n + " vscroll pos=" + std::to_string(static_cast<long long>(cm.lParam));
        case 1345:
            return n + " hscroll pos=" + std::to_string(static_cast<long long>(cm.lParam));
        case WM_MOUSEMOVE:  // a scrollbar hands on a move it does not use; window coordinates
            return n + " mouse move x=" + std::to_string(GET_X_LPARAM(cm.lParam)) +
                   " y=" + std::to_string(GET_Y_LPARAM(cm.lParam));
        case WM_COMMAND:
            return n + " command id=" + std::to_string(LOWORD(cm.wParam));
        default:
            return n + " wParam=" + std::to_string(static_cast<unsigned long long>(cm.wParam)) +
                   " lParam=" + std::to_string(static_cast<long long>(cm.lParam));
    }
}

std::string ControlMessageLine(const ControlMessage& cm, DWORD start) {
    return "t=" + std::to_string(cm.time - start) + " " + rt::WideToUtf8(cm.senderName) + " " + DecodeControlMessage(cm);
}

// ---- 2. The quote grid -------------------------------------------------------------------------------
namespace {

const wchar_t* const kHeaders[CQuoteGrid::kColumns] = {L"Code", L"Name", L"Last",   L"Chg",      L"Chg%",
                                                       L"Bid",  L"Ask",  L"Volume", L"Turnover", L"High",
                                                       L"Low",  L"Open", L"Prev",   L"Ampl%"};
const wchar_t* const kNames[] = {L"Harbor Steel", L"Delta Foods", L"Kestrel Air", L"North Grid", L"Pine Pharma",
                                 L"Quarry Min",   L"Riverbank",   L"Summit Tech", L"Tidewater",  L"Union Rail",
                                 L"Vale Chem",    L"West Port",   L"Yarrow Bio",  L"Zenith Ins", L"Amber Glass",
                                 L"Birch Paper",  L"Cobalt Auto", L"Dune Energy"};

// A fixed pseudo-random stream per cell, so that the grid looks the same in every run.
uint32_t Mix(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

std::wstring Price(long long cents) {
    const wchar_t* sign = cents < 0 ? L"-" : L"";
    const long long a = cents < 0 ? -cents : cents;
    std::wstring frac = std::to_wstring(a % 100);
    if (frac.size() < 2) frac = L"0" + frac;
    return sign + std::to_wstring(a / 100) + L"." + frac;
}

struct Quote {
    long long prev, last;  // cents
};

Quote QuoteOf(int nRow) {
    const uint32_t r = Mix(uint32_t(nRow) * 2654435761u + 17u);
    const long long prev = 300 + r % 9700;                                 // 3.00 .. 99.99
    const long long change = static_cast<long long>(Mix(r) % 1001) - 500;  // -5.00% .. +5.00% in 0.01%
    return Quote{prev, prev + prev * change / 10000};
}

}  // namespace

std::wstring CQuoteGrid::CellText(int nRow, int nColumn) {
    if (nColumn < 0 || nColumn >= kColumns) return L"";
    if (nRow < 0) return kHeaders[nColumn];
    const Quote q = QuoteOf(nRow);
    const uint32_t r = Mix(uint32_t(nRow) + 977u);
    switch (nColumn) {
        case 0:
            return std::to_wstring(600000 + nRow * 7);
        case 1:
            return kNames[size_t(nRow) % std::size(kNames)];
        case 2:
            return Price(q.last);
        case 3:
            return Price(q.last - q.prev);
        case 4:
            return Price((q.last - q.prev) * 10000 / q.prev) + L"%";
        case 5:
            return Price(q.last - 1);
        case 6:
            return Price(q.last + 1);
        case 7:
            return std::to_wstring(1000 + r % 900000);
        case 8:
            return std::to_wstring((1000 + r % 900000) * q.last / 10000) + L"k";
        case 9:
            return Price(std::max(q.last, q.prev) + static_cast<long long>(r % 40));
        case 10:
            return Price(std::min(q.last, q.prev) - static_cast<long long>(r % 30));
        case 11:
            return Price(q.prev + static_cast<long long>(r % 21) - 10);
        case 12:
            return Price(q.prev);
        default:
            return Price(static_cast<long long>(r % 700)) + L"%";
    }
}

int CQuoteGrid::InitObject(const wchar_t* name, _CONTAINER_INFO* info) {
    const int result = CElementContainer::InitObject(name, info);
    if (result == 0) return result;
    for (UINT msg : {UINT(WM_PAINT), UINT(WM_SIZE), UINT(WM_RBUTTONUP)}) RegisterMessage(msg);
    RECT rc{};
    GetDrawRect(&rc);
    m_nWidth = rc.right - rc.left;
    m_nHeight = rc.bottom - rc.top;
    return TRUE;
}

int CQuoteGrid::OnSize(UINT, int cx, int cy) {
    m_nWidth = cx;
    m_nHeight = cy;
    return 1;
}

int CQuoteGrid::VisibleRows() const {
    return std::max(0, (m_nHeight - kRowHeight) / kRowHeight);
}

int CQuoteGrid::VisibleColumns() const {
    return std::max(0, (m_nWidth - kFrozenWidth) / kColumnWidth);
}

void CQuoteGrid::SetTopRow(int nRow) {
    nRow = std::clamp(nRow, 0, kRows - 1);
    if (nRow == m_nTopRow) return;
    m_nTopRow = nRow;
    InvalidContainerRect(0, nullptr);
}

void CQuoteGrid::SetLeftColumn(int nColumn) {
    nColumn = std::clamp(nColumn, 0, kColumns - kFrozenColumns - 1);
    if (nColumn == m_nLeftColumn) return;
    m_nLeftColumn = nColumn;
    InvalidContainerRect(0, nullptr);
}

namespace {

struct GridColors {
    COLORREF back, alt, header, headerText, text, up, down, line;
};

GridColors ColorsFor(bool dark) {
    if (dark)
        return GridColors{RGB(17, 19, 24),    RGB(24, 27, 33),  RGB(30, 34, 42),   RGB(138, 147, 166),
                          RGB(216, 222, 233), RGB(232, 80, 80), RGB(64, 200, 120), RGB(42, 48, 59)};
    return GridColors{RGB(255, 255, 255), RGB(244, 246, 249), RGB(232, 235, 240), RGB(80, 88, 102),
                      RGB(28, 32, 40),    RGB(200, 40, 40),   RGB(20, 140, 70),   RGB(214, 219, 226)};
}

bool IsDark(COLORREF c) {
    return GetRValue(c) * 3 + GetGValue(c) * 6 + GetBValue(c) < 128 * 10;
}

}  // namespace

int CQuoteGrid::OnPaint(CPaintDC* pDC) {
    CComPtr<CSWPalette> palette = GetEnvSkinPalette();
    if (palette) m_bDarkTheme = IsDark(palette->GetColor(L"CElementTabControl.BackGround"));
    const GridColors colors = ColorsFor(m_bDarkTheme);
    CFont* font = palette ? palette->GetFont(L"QuoteTab.Button") : nullptr;
    CFont* old_font = font ? pDC->SelectObject(font) : nullptr;
    pDC->SetBkMode(TRANSPARENT);
    pDC->FillSolidRect(0, 0, m_nWidth, m_nHeight, colors.back);

    // Column x positions: the frozen ones, then the scrolled ones from m_nLeftColumn.
    std::vector<std::pair<int, int>> columns;  // (column, left x)
    columns.emplace_back(0, 0);
    columns.emplace_back(1, kFrozenWidth - 104);
    for (int c = kFrozenColumns + m_nLeftColumn, x = kFrozenWidth; c < kColumns && x < m_nWidth; ++c, x += kColumnWidth)
        columns.emplace_back(c, x);

    const int rows = VisibleRows() + 1;  // the last one may be cut
    for (int i = -1; i < rows; ++i) {
        const int nRow = i < 0 ? -1 : m_nTopRow + i;
        if (nRow >= kRows) break;
        const int top = (i + 1) * kRowHeight;
        if (i < 0)
            pDC->FillSolidRect(0, top, m_nWidth, kRowHeight, colors.header);
        else if (nRow % 2)
            pDC->FillSolidRect(0, top, m_nWidth, kRowHeight, colors.alt);
        const bool up = nRow >= 0 && QuoteOf(nRow).last >= QuoteOf(nRow).prev;
        for (const auto& [c, x] : columns) {
            COLORREF text = i < 0 ? colors.headerText : colors.text;
            if (i >= 0 && c >= 2 && c <= 4) text = up ? colors.up : colors.down;
            pDC->SetTextColor(text);
            const std::wstring cell = CellText(nRow, c);
            const int width = c == 0 ? kFrozenWidth - 104 : c == 1 ? 104 : kColumnWidth;
            RECT cell_rect{x + 4, top, x + width - 4, top + kRowHeight};
            const UINT align = c < kFrozenColumns ? DT_LEFT : DT_RIGHT;
            pDC->DrawText(cell.c_str(), int(cell.size()), &cell_rect,
                          align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        }
    }
    // The line between the frozen and the scrolled columns.
    pDC->FillSolidRect(kFrozenWidth - 1, 0, 1, m_nHeight, colors.line);
    if (old_font) pDC->SelectObject(old_font);
    return 1;
}

int CQuoteGrid::OnRButtonUp(POINT pt) {
    HMENU rows = CreatePopupMenu();
    AppendMenuW(rows, MF_STRING, 911, L"Compact");
    AppendMenuW(rows, MF_STRING, 912, L"Comfortable");
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 901, L"Back to top");
    AppendMenuW(menu, MF_STRING, 902, L"Back to first column");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(rows), L"Row height");
    RECT container_rect{};
    GetContainerRect(&container_rect);
    POINT screen_pt{pt.x + container_rect.left, pt.y + container_rect.top};
    ::ClientToScreen(GetVMWindow(), &screen_pt);
    const int id =
        ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RETURNCMD, screen_pt.x, screen_pt.y, 0, GetVMWindow(), nullptr);
    ::DestroyMenu(menu);
    if (id > 0) {
        m_nLastCommand = id;
        PostControlMessage(kGridCommand, WPARAM(id), 0);
    }
    return 1;
}

// ---- 3. The desk ---------------------------------------------------------------------------------------
namespace {

struct Market {
    int id;
    const wchar_t* name;
    int menu;  // index into MenuOf, 0 none
};

const Market kTopMarkets[] = {{1, L"SH A", 0},   {2, L"SZ A", 0},   {3, L"ChiNext", 0}, {4, L"HK Main", 0},
                              {5, L"Nasdaq", 0}, {6, L"NYSE", 0},   {7, L"Futures", 1}, {8, L"Options", 2},
                              {9, L"Bonds", 0},  {10, L"Funds", 0}, {11, L"Forex", 0}};
const Market kBottomTabs[] = {{21, L"Watchlist", 3}, {22, L"Alerts", 0}, {23, L"News", 0}, {24, L"Reports", 4}};

struct Entry {
    const wchar_t* text;
    int cmd;
    int parent;  // -1: top level
    int hasSub;
};

// Drop-down menus: 1 futures exchanges (CFFEX opens a sub-menu), 2 option series,
// 3 watchlists, 4 reports.
_MENU_CMD_INFO_ MenuOf(int kind) {
    static const std::vector<Entry> menus[] = {
        {},
        {{L"CFFEX", 201, -1, 1},
         {L"IF index", 211, 201, 0},
         {L"IH index", 212, 201, 0},
         {L"IC index", 213, 201, 0},
         {L"SHFE", 202, -1, 0},
         {L"DCE", 203, -1, 0},
         {L"ZCE", 204, -1, 0},
         {L"INE", 205, -1, 0}},
        {{L"Near month", 301, -1, 0},
         {L"Next month", 302, -1, 0},
         {L"Quarterly", 303, -1, 1},
         {L"March", 311, 303, 0},
         {L"June", 312, 303, 0},
         {L"All series", 304, -1, 0}},
        {{L"My stocks", 401, -1, 0},
         {L"Sector leaders", 402, -1, 0},
         {L"Recent", 403, -1, 1},
         {L"Today", 411, 403, 0},
         {L"This week", 412, 403, 0}},
        {{L"Daily", 501, -1, 0}, {L"Weekly", 502, -1, 0}, {L"Monthly", 503, -1, 0}},
    };
    _MENU_CMD_INFO_ info;
    for (const Entry& e : menus[kind]) {
        _MENU_STR_CMD_ entry;
        entry.strText = e.text;
        entry.nCmdID = e.cmd;
        entry.nParentID = e.parent;
        entry.bHasSub = e.hasSub;
        info.vecMenu.push_back(entry);
    }
    info.nSelCmdID = -1;
    return info;
}

void AddTabs(CElementTabControl* strip, const Market* markets, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        _MENU_CMD_INFO_ menu = MenuOf(markets[i].menu);
        _TAB_PARAM_INFO_ info;
        info.nID = markets[i].id;
        info.lpszName = markets[i].name;
        info.lpszTextColor = L"CElementTabControl.Text";
        info.lpszSelTextColor = L"CElementTabControl.SelText";
        info.pMenuInfo = markets[i].menu ? &menu : nullptr;
        strip->Add(&info);
    }
}

const wchar_t* const kButtonNames[Desk::kPushButtons] = {L"buy", L"sell", L"cancel", L"refresh", L"margin"};
const wchar_t* const kButtonCaptions[Desk::kPushButtons] = {L"Buy", L"Sell", L"Cancel all", L"Refresh", L"Margin"};

RECT Offset(RECT rc, const RECT& container_rect) {
    ::OffsetRect(&rc, container_rect.left, container_rect.top);
    return rc;
}

}  // namespace

Desk::Desk(CHeadlessHost& host, Registry* registry, DeskLayout layout)
    : host_(host), registry_(registry), layout_(layout) {
    BuildTopStrip();
    BuildGrid();
    BuildPushButtons();
    BuildBottomStrip();
    ApplySkin();
    host_.Window().onControlMessage = [this](const ControlMessage& cm) { OnControlMessage(cm); };
    host_.Pump();
}

Desk::~Desk() {
    host_.Window().onControlMessage = nullptr;
}

void Desk::Remember(CElementContainer* element, const char* kind) {
    if (!registry_) return;
    if (const ElementKind* k = registry_->Find(kind)) registry_->Remember(element, k);
}

void Desk::BuildTopStrip() {
    const RECT rc{0, 0, layout_.size.cx, layout_.stripHeight};
    top_ = new CElementTabControl;
    host_.Add(top_, L"top", rc);
    Remember(top_, "tabs");
    top_->SetStyle(1, 0, 0);
    top_->SetTabBtnAglin(DIRECT_RIGHT);
    AddTabs(top_, kTopMarkets, std::size(kTopMarkets));
    top_->AddTextButton(L"F10", 100, L"QuoteTab.BtnText", L"QuoteTab.BtnHot", nullptr, nullptr, 0, L"");
    top_->AddTextButton(L"Level-2", 101, L"QuoteTab.BtnText", L"QuoteTab.BtnHot", nullptr, nullptr, 1, L"");
    top_->AddTextButton(L"", 102, nullptr, nullptr, L"QuoteTab.BtnImage", L"QuoteTab.BtnImageHot", 0, L"layout");
    top_->SetSelectedTab(1);
    top_->OnSize(0, rc.right - rc.left, rc.bottom - rc.top);
}

void Desk::BuildGrid() {
    const int m = layout_.margin;
    const int grid_top = layout_.stripHeight + m;
    const int grid_bottom = layout_.size.cy - layout_.stripHeight - m - layout_.buttonHeight - m;

    vscroll_ = new CVerticalScrollbar;
    host_.Add(vscroll_, L"vscroll", RECT{0, 0, layout_.barWidth, 100});
    Remember(vscroll_, "vscroll");
    vscroll_->InitVScrollBar(0);
    hscroll_ = new CHorizontalScrollbar;
    host_.Add(hscroll_, L"hscroll", RECT{0, 0, 100, layout_.barWidth});
    Remember(hscroll_, "hscroll");
    hscroll_->InitHScrollBar(0);
    // The skin set decides how thick the bars are.
    const int bar_w = vscroll_->m_nArrowWidth > 0 ? vscroll_->m_nArrowWidth : layout_.barWidth;
    const int bar_h = hscroll_->m_nArrowHeight > 0 ? hscroll_->m_nArrowHeight : layout_.barWidth;
    const int grid_right = layout_.size.cx - m - bar_w;
    const RECT grid_rect{m, grid_top, grid_right, grid_bottom - bar_h};

    grid_ = new CQuoteGrid;
    host_.Add(grid_, L"grid", grid_rect);
    Remember(grid_, "grid");
    host_.Window().PlaceElement(vscroll_, RECT{grid_right, grid_top, grid_right + bar_w, grid_bottom - bar_h});
    host_.Window().PlaceElement(hscroll_, RECT{m, grid_bottom - bar_h, grid_right, grid_bottom});
    vscroll_->SetRowNumber(CQuoteGrid::kRows);
    vscroll_->SetPageSize(grid_->VisibleRows());
    hscroll_->SetColumnNumber(CQuoteGrid::kColumns - CQuoteGrid::kFrozenColumns);
    hscroll_->SetPageSize(grid_->VisibleColumns());
}

void Desk::BuildPushButtons() {
    const int m = layout_.margin;
    const int top = layout_.size.cy - layout_.stripHeight - m - layout_.buttonHeight;
    const int width = 96;
    CComPtr<CSWPalette> palette = GetEnvSkinPalette();
    for (int i = 0; i < kPushButtons; ++i) {
        auto* button = new CElementButton;
        const int left = m + i * (width + m);
        host_.Add(button, kButtonNames[i], RECT{left, top, left + width, top + layout_.buttonHeight});
        Remember(button, "button");
        button->InitBtn(kFirstPushButton + i, CLR_INVALID, nullptr, nullptr);
        button->SetImage(L"button", L"normal.bmp", L"hot.bmp", L"down.bmp", L"disable.bmp");
        // A non-null font keeps the palette's caption font.
        button->SetButtonText(kButtonCaptions[i], palette ? palette->GetFont(L"QuoteTab.Button") : nullptr,
                              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        button->SetBtnDisable(i == kPushButtons - 1);
        buttons_.push_back(button);
    }
}

void Desk::BuildBottomStrip() {
    const RECT rc{0, layout_.size.cy - layout_.stripHeight, layout_.size.cx, layout_.size.cy};
    bottom_ = new CElementTabControl;
    host_.Add(bottom_, L"bottom", rc);
    Remember(bottom_, "tabs");
    bottom_->SetStyle(1, 0, 3);  // a bottom strip: its menus open upward
    AddTabs(bottom_, kBottomTabs, std::size(kBottomTabs));
    bottom_->SetSelectedTab(22);
    bottom_->OnSize(0, rc.right - rc.left, rc.bottom - rc.top);
}

void Desk::ApplySkin() {
    CComPtr<CSWPalette> palette = GetEnvSkinPalette();
    if (!palette) return;
    host_.Window().m_clrBackground = palette->GetColor(L"CElementTabControl.BackGround");
    // The buttons took their caption colours as values: give them the new skin's.
    for (CElementButton* button : buttons_) {
        button->SetTextColor(palette->GetColor(L"Button.Text"));
        button->SetTextHotColor(palette->GetColor(L"Button.TextHot"));
    }
    ::InvalidateRect(host_.Window().GetSafeHwnd(), nullptr, TRUE);
}

void Desk::OnControlMessage(const ControlMessage& cm) {
    if (cm.msg == 1344 && cm.senderName == L"vscroll") grid_->SetTopRow(int(cm.lParam));
    if (cm.msg == 1345 && cm.senderName == L"hscroll") grid_->SetLeftColumn(int(cm.lParam));
    if (cm.msg == CQuoteGrid::kGridCommand && cm.senderName == L"grid") {
        if (cm.wParam == 901 && vscroll_->UpdateThumbPos(0)) grid_->SetTopRow(0);
        if (cm.wParam == 902 && hscroll_->UpdateThumbPos(0)) grid_->SetLeftColumn(0);
    }
    if (onControlMessage) onControlMessage(cm);
}

RECT Desk::TabRect(CElementTabControl* strip, int nID) const {
    for (INT_PTR i = 0; i < strip->m_arrItems.GetSize(); ++i) {
        const CQuoteTabItem* item = strip->m_arrItems[i];
        if (item->m_nID != nID || !item->m_bVisible) continue;
        return Offset(RECT(item->m_rcItem), strip->HostState()->rcContainer);
    }
    return RECT{0, 0, 0, 0};
}

std::vector<std::string> Desk::DescribeLayout() const {
    std::vector<std::string> lines;
    for (CElementContainer* e : host_.Window().Elements()) {
        const RECT& rc = e->HostState()->rcContainer;
        std::string line = "element " + rt::WideToUtf8(e->GetName() ? e->GetName() : L"") + " " + Fmt(rc);
        if (e == vscroll_) line += " arrow=" + std::to_string(vscroll_->m_nArrowHeight);
        if (e == hscroll_) line += " arrow=" + std::to_string(hscroll_->m_nArrowWidth);
        lines.push_back(line);
    }
    for (CElementTabControl* strip : {top_, bottom_}) {
        const std::string side = strip == top_ ? "top" : "bottom";
        const RECT& container = strip->HostState()->rcContainer;
        for (INT_PTR i = 0; i < strip->m_arrItems.GetSize(); ++i) {
            const CQuoteTabItem* item = strip->m_arrItems[i];
            if (!item->m_bVisible) continue;
            lines.push_back("tab " + side + " " + std::to_string(item->m_nID) + " " + Fmt(item->m_strName.GetString()) +
                            " " + Fmt(Offset(RECT(item->m_rcItem), container)));
        }
        for (INT_PTR i = 0; i < strip->m_arrTextBtn.GetSize(); ++i) {
            const _TEXT_BUTTON& b = strip->m_arrTextBtn[i];
            if (!b.m_bVisible) continue;
            lines.push_back("textbutton " + side + " " + std::to_string(b.nID) + " " +
                            Fmt(Offset(RECT(b.rcBtn), container)));
        }
    }
    return lines;
}

// ---- 4. The "grid" kind ------------------------------------------------------------------------------------
namespace {

bool GridField(CElementContainer* e, const std::string& name, std::string* out) {
    const CQuoteGrid* g = static_cast<const CQuoteGrid*>(e);
    const std::map<std::string, std::function<std::string()>> fields = {
        {"m_nTopRow", [&] { return Fmt(g->m_nTopRow); }},
        {"m_nLeftColumn", [&] { return Fmt(g->m_nLeftColumn); }},
        {"m_nWidth", [&] { return Fmt(g->m_nWidth); }},
        {"m_nHeight", [&] { return Fmt(g->m_nHeight); }},
        {"m_nLastCommand", [&] { return Fmt(g->m_nLastCommand); }},
        {"m_bDarkTheme", [&] { return Fmt(g->m_bDarkTheme ? 1 : 0); }},
        {"VisibleRows", [&] { return Fmt(g->VisibleRows()); }},
        {"VisibleColumns", [&] { return Fmt(g->VisibleColumns()); }},
    };
    if (name == kFieldListName) {
        *out = FieldNameList(fields);
        return true;
    }
    auto it = fields.find(name);
    if (it == fields.end()) return false;
    *out = it->second();
    return true;
}

}  // namespace

void RegisterDeskKinds(Registry& registry) {
    ElementKind kind;
    kind.name = "grid";
    kind.create = [](const Args& args, size_t first) -> CElementContainer* {
        if (args.Count() > first) args.Fail("create grid takes no extra arguments");
        return new CQuoteGrid;
    };
    kind.field = GridField;
    kind.operations["SetTopRow"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        static_cast<CQuoteGrid*>(e)->SetTopRow(a.Int(0));
        return std::string();
    };
    kind.operations["SetLeftColumn"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        static_cast<CQuoteGrid*>(e)->SetLeftColumn(a.Int(0));
        return std::string();
    };
    registry.Add(std::move(kind));
}

}  // namespace kelem
