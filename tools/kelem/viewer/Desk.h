// The demo desk: a quote screen built only from the library's elements in the reference
// host, shared by the interactive viewer (`kelem view`), the gallery's desk page and the
// tests. A tab strip at the top with market tabs (some with drop-down menus and
// sub-menus), text buttons and an image button; a quote grid drawn by the demo itself
// with a vertical and a horizontal scrollbar that scroll it by listening to 1344/1345; a
// row of push buttons; a bottom strip whose menus open upward.
//
// Coordinates: every rectangle here is in host-window client coordinates unless its
// name says otherwise.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/HeadlessHost.h"
#include "tools/kelem/Reflect.h"

class CElementTabControl;
class CVerticalScrollbar;
class CHorizontalScrollbar;
class CElementButton;

namespace kelem {

// ---- decoding control messages ---------------------------------------------------------------
// "1324 tab selected id=3", "1344 vscroll pos=12", "512 mouse move x=4 y=9", ...
std::string DecodeControlMessage(const ControlMessage& cm);
// "t=1250 grid.vscroll 1344 vscroll pos=12": time relative to `start`, sender, decoding.
std::string ControlMessageLine(const ControlMessage& cm, DWORD start);

// ---- the quote grid (the demo's own element) ---------------------------------------------------
// Rows of made-up quotes. The first two columns stay; the others scroll sideways. The
// grid is told its first row and column by the desk; it reads nothing from the bars.
class CQuoteGrid : public CElementContainer {
public:
    static const int kRowHeight = 18;
    static const int kColumnWidth = 72;  // of the scrolling columns
    static const int kFrozenColumns = 2;
    static const int kFrozenWidth = 60 + 104;  // the code and the name
    static const int kColumns = 14;
    static const int kRows = 80;
    static const UINT kGridCommand = 273;  // posted with the chosen context-menu command id

    int InitObject(const wchar_t* name, _CONTAINER_INFO* info) override;
    int OnPaint(CPaintDC* pDC) override;
    int OnSize(UINT nType, int cx, int cy) override;
    int OnRButtonUp(POINT pt) override;

    void SetTopRow(int nRow);
    void SetLeftColumn(int nColumn);  // first scrolling column shown, 0-based among them
    int VisibleRows() const;          // whole rows under the header
    int VisibleColumns() const;       // whole scrolling columns right of the frozen ones
    // The text of a cell (row -1: the header).
    static std::wstring CellText(int nRow, int nColumn);

    int m_nTopRow = 0;
    int m_nLeftColumn = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nLastCommand = 0;    // of the context menu, 0 while none was chosen
    bool m_bDarkTheme = true;  // from the skin's background brightness, at each paint
};

// ---- the desk -------------------------------------------------------------------------------------
struct DeskLayout {
    SIZE size{840, 600};
    int stripHeight = 24;
    int barWidth = 12;  // of both scrollbars; the skin set decides the actual size
    int buttonHeight = 26;
    int margin = 8;
};

class Desk {
public:
    static const int kFirstPushButton = 11;
    static const int kPushButtons = 5;

    // Builds every element into the host (which must be empty and have its skin loaded).
    // The registry, when given, learns each element's kind for field look-ups.
    explicit Desk(CHeadlessHost& host, Registry* registry = nullptr, DeskLayout layout = DeskLayout());
    ~Desk();
    Desk(const Desk&) = delete;
    Desk& operator=(const Desk&) = delete;

    // Called with each control message after the desk reacted to it.
    std::function<void(const ControlMessage&)> onControlMessage;

    // After a skin (re)load: colours the host and the elements took as values.
    void ApplySkin();
    // Where a tab is, by ID, in window coordinates (empty when hidden or unknown).
    RECT TabRect(CElementTabControl* strip, int nID) const;
    // "tab top 2 "SZ A" (l, t, r, b)", "element grid (l, t, r, b)", ...: the geometry
    // a test driving the desk from outside needs. Paint first: tabs lay out at paint.
    std::vector<std::string> DescribeLayout() const;

    CHeadlessHost& Host() { return host_; }
    CElementTabControl* TopStrip() const { return top_; }
    CElementTabControl* BottomStrip() const { return bottom_; }
    CQuoteGrid* Grid() const { return grid_; }
    CVerticalScrollbar* VScroll() const { return vscroll_; }
    CHorizontalScrollbar* HScroll() const { return hscroll_; }
    CElementButton* PushButton(int i) const { return buttons_[size_t(i)]; }

private:
    void BuildTopStrip();
    void BuildGrid();
    void BuildPushButtons();
    void BuildBottomStrip();
    void OnControlMessage(const ControlMessage& cm);
    void Remember(CElementContainer* element, const char* kind);

    CHeadlessHost& host_;
    Registry* registry_;
    DeskLayout layout_;
    CElementTabControl* top_ = nullptr;
    CElementTabControl* bottom_ = nullptr;
    CQuoteGrid* grid_ = nullptr;
    CVerticalScrollbar* vscroll_ = nullptr;
    CHorizontalScrollbar* hscroll_ = nullptr;
    std::vector<CElementButton*> buttons_;
};

// The "grid" kind (the demo's quote grid) for the inspector and scripts.
void RegisterDeskKinds(Registry& registry);

}  // namespace kelem
