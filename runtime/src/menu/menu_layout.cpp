// Popup menu layout and placement.
//
// Layout, in popup coordinates: items start kFrameInset pixels inside the popup (a raised
// 2-pixel frame and a 1-pixel margin). A text item is max(text height + 2, char height + 4)
// high and check width + 4 + average char width + arrow width + 2 + text width wide; its
// text starts at 4 + check width. The average char width is the system's (the 52 letters'
// extent, rounded), not tmAveCharWidth; the arrow width is that of the system's sub-menu
// arrow bitmap. An owner-drawn item is two average chars wider than its owner says, with or
// without a check mark or a sub-menu. A separator is half
// SM_CYMENUSIZE high and at least arrow width + average char width wide. An item with
// MF_MENUBREAK or MF_MENUBARBREAK starts a column kColumnGap pixels right of the previous
// one (on the first item: right of the margin); the items of a column share the widest
// width, and accelerator texts after a tab line up at one x per column.
//
// Index
//   1. Metrics
//   2. Layout
//   3. Placement
#include <algorithm>

#include "afx/atlgdi.h"
#include "menu/menu_private.h"

namespace menu {

// ---- 1. Metrics ----------------------------------------------------------------------------------
HFONT MenuFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

Metrics MenuMetrics(HDC hdc) {
    TEXTMETRICW tm{};
    LONG char_height = 0;
    LONG avg_char_width = 0;
    {
        CSelectScope font(hdc, MenuFont());
        avg_char_width = GdiGetCharDimensions(hdc, &tm, &char_height);
    }
    Metrics m;
    m.charHeight = char_height;
    m.avgCharWidth = avg_char_width;
    m.checkWidth = ((tm.tmHeight + tm.tmExternalLeading + 1) / 2) * 2 - 1;
    m.itemHeight = char_height + 4;  // max(text height + 2, char height + 4): a line is tmHeight high
    m.arrowWidth = kMenuArrowWidth;
    m.separatorHeight = GetSystemMetrics(SM_CYMENUSIZE) / 2;
    return m;
}

// ---- 2. Layout ------------------------------------------------------------------------------------
namespace {

int ShownWidth(HDC hdc, const std::wstring& text) {
    if (text.empty()) return 0;
    RECT calc_rect{0, 0, 0, 0};
    DrawTextW(hdc, text.c_str(), int(text.size()), &calc_rect, DT_SINGLELINE | DT_CALCRECT);
    return calc_rect.right - calc_rect.left;
}

struct Column {
    size_t first = 0;  // item range [first, last)
    size_t last = 0;
    bool gap = false;  // its first item has MF_MENUBREAK or MF_MENUBARBREAK
    bool bar = false;  // ... MF_MENUBARBREAK
    int width = 0;
    int height = 0;
    int maxLeft = 0;
    int maxRight = 0;
};

std::vector<Column> SplitColumns(const Menu& m) {
    std::vector<Column> columns;
    for (size_t i = 0; i < m.items.size(); ++i) {
        const UINT type = m.items[i].type;
        if (i > 0 && !(type & (MFT_MENUBREAK | MFT_MENUBARBREAK))) continue;
        if (!columns.empty()) columns.back().last = i;
        columns.push_back(
            Column{i, i, (type & (MFT_MENUBREAK | MFT_MENUBARBREAK)) != 0, (type & MFT_MENUBARBREAK) != 0});
    }
    if (!columns.empty()) columns.back().last = m.items.size();
    return columns;
}

}  // namespace

PopupLayout LayOut(const Menu& m, const std::vector<SIZE>& owner_sizes, HDC hdc) {
    const Metrics mx = MenuMetrics(hdc);
    CSelectScope font(hdc, MenuFont());
    PopupLayout layout;
    layout.items.resize(m.items.size());
    std::vector<Column> columns = SplitColumns(m);

    // Sizes: heights per item, widths per column.
    std::vector<int> heights(m.items.size(), 0);
    for (size_t c = 0; c < columns.size(); ++c) {
        Column& col = columns[c];
        int plain_width = 0;
        bool has_text = false;
        bool has_tab = false;
        for (size_t i = col.first; i < col.last; ++i) {
            const Item& item = m.items[i];
            ItemBox& box = layout.items[i];
            box.column = int(c);
            if (item.IsSeparator()) {
                heights[i] = mx.separatorHeight;
                plain_width = std::max(plain_width, mx.arrowWidth + mx.avgCharWidth);
            } else if (item.IsOwnerDraw()) {
                const SIZE sz = i < owner_sizes.size() ? owner_sizes[i] : SIZE{0, 0};
                heights[i] = sz.cy;
                plain_width = std::max(plain_width, int(sz.cx) + 2 * mx.avgCharWidth);
            } else {
                const size_t tab = item.text.find(L'\t');
                box.textLeftWidth = ShownWidth(hdc, item.text.substr(0, tab));
                if (tab != std::wstring::npos) {
                    box.textRightWidth = ShownWidth(hdc, item.text.substr(tab + 1));
                    has_tab = true;
                }
                has_text = true;
                col.maxLeft = std::max(col.maxLeft, box.textLeftWidth);
                col.maxRight = std::max(col.maxRight, box.textRightWidth);
                heights[i] = mx.itemHeight;
            }
            col.height += heights[i];
        }
        // Accelerator texts start one average character after the widest left part.
        const int text_width = has_tab ? col.maxLeft + mx.avgCharWidth + col.maxRight : col.maxLeft;
        const int text_item_width = has_text ? mx.checkWidth + 4 + mx.avgCharWidth + mx.arrowWidth + 2 + text_width : 0;
        col.width = std::max(plain_width, text_item_width);
    }

    // Positions.
    int x = kFrameInset;
    int tallest = 0;
    for (size_t c = 0; c < columns.size(); ++c) {
        const Column& col = columns[c];
        if (col.gap) {
            if (col.bar) layout.barLines.push_back(x + 1);  // the etched line sits inside the gap
            x += kColumnGap;
        }
        layout.columnTabX.push_back(x + 4 + mx.checkWidth + col.maxLeft + mx.avgCharWidth);
        int y = kFrameInset;
        for (size_t i = col.first; i < col.last; ++i) {
            layout.items[i].popup_rect = RECT{x, y, x + col.width, y + heights[i]};
            y += heights[i];
        }
        tallest = std::max(tallest, col.height);
        x += col.width;
    }
    layout.size = SIZE{x + kFrameInset, tallest + 2 * kFrameInset};
    return layout;
}

// ---- 3. Placement ------------------------------------------------------------------------------------
namespace {

// Shifts [pos, pos + len) into [0, limit) when it fits, else pins it at 0. In 64 bits:
// the anchor may lie anywhere in the coordinate space (a tab's edge at INT_MAX).
int ShiftInto(int64_t pos, int64_t len, int64_t limit) {
    if (pos + len > limit) pos = limit - len;
    return int(std::clamp<int64_t>(pos, 0, limit));
}

}  // namespace

POINT PlacePopup(POINT anchor, SIZE size, UINT flags) {
    const SIZE screen = rt::GetScreenSize();
    int64_t x = anchor.x;
    int64_t y = anchor.y;
    if (flags & TPM_RIGHTALIGN) {
        x -= size.cx;
    } else if (flags & TPM_CENTERALIGN) {
        x -= size.cx / 2;
    }
    if (flags & TPM_BOTTOMALIGN) {
        y -= size.cy;
    } else if (flags & TPM_VCENTERALIGN) {
        y -= size.cy / 2;
    }
    return POINT{ShiftInto(x, size.cx, screen.cx), ShiftInto(y, size.cy, screen.cy)};
}

POINT PlaceSubPopup(const RECT& item_screen_rect, SIZE size) {
    const SIZE screen = rt::GetScreenSize();
    // Right of the item, overlapping the parent's frame (its left edge one border width
    // inside the item's right), with its first item level with the item. Where it does
    // not fit, it goes to the item's left, or up so that its last item ends level with
    // the item, if that side has room; then it is pushed onto the screen.
    const RECT& item = item_screen_rect;
    int64_t x = int64_t(item.right) - GetSystemMetrics(SM_CXBORDER);
    if (x + size.cx > screen.cx) {
        if (int64_t(item.left) - size.cx >= 0) x = int64_t(item.left) - size.cx;
        if (x + size.cx > screen.cx) x = int64_t(screen.cx) - size.cx;
    }
    int64_t y = int64_t(item.top) - kFrameInset;
    if (y + size.cy > screen.cy) {
        if (int64_t(item.bottom) + kFrameInset - size.cy >= 0) y = int64_t(item.bottom) + kFrameInset - size.cy;
        if (y + size.cy > screen.cy) y = int64_t(screen.cy) - size.cy;
    }
    return POINT{int(std::max<int64_t>(x, 0)), int(std::max<int64_t>(y, 0))};
}

}  // namespace menu
