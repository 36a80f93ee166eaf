// Drawing popup menus the classic way: a raised frame on COLOR_MENU, items in
// COLOR_MENUTEXT (COLOR_HIGHLIGHTTEXT on COLOR_HIGHLIGHT when highlighted), grayed items
// engraved (white at (+1, +1), then RGB(128, 128, 128)), check marks left of the text,
// arrows right of sub-menu items, etched separators and bar lines. Owner-drawn items are
// drawn by their owner through WM_DRAWITEM.
//
// Index
//   1. Glyphs          check mark and sub-menu arrow
//   2. Frame
//   3. Items
#include <algorithm>

#include "menu/menu_private.h"

namespace menu {
namespace {

// ---- 1. Glyphs -------------------------------------------------------------------------------------
// The check mark, 7 x 7: for each column, the first row and the number of rows set.
constexpr int kCheckSize = 7;
constexpr int kCheckColumns[kCheckSize][2] = {{2, 3}, {3, 3}, {4, 3}, {3, 3}, {2, 3}, {1, 3}, {0, 3}};
// The arrow, 4 wide and 7 high, pointing right.
constexpr int kArrowWidth = 4;
constexpr int kArrowHeight = 7;

void FillColumn(HDC hdc, HBRUSH brush, int x, int y, int rows) {
    const RECT column_rect{x, y, x + 1, y + rows};
    FillRect(hdc, &column_rect, brush);
}

void DrawCheckGlyph(HDC hdc, POINT origin, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    for (int k = 0; k < kCheckSize; ++k)
        FillColumn(hdc, brush, origin.x + k, origin.y + kCheckColumns[k][0], kCheckColumns[k][1]);
    DeleteObject(brush);
}

void DrawArrowGlyph(HDC hdc, POINT origin, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    for (int k = 0; k < kArrowWidth; ++k) FillColumn(hdc, brush, origin.x + k, origin.y + k, kArrowHeight - 2 * k);
    DeleteObject(brush);
}

struct Colors {
    COLORREF back;
    COLORREF text;
    bool engraved;  // grayed and not highlighted: a white copy at (+1, +1) first
};

Colors ItemColors(const Item& item, bool highlighted) {
    const bool grayed = (item.state & MF_GRAYED) != 0;
    Colors c{GetSysColor(highlighted ? COLOR_HIGHLIGHT : COLOR_MENU),
             GetSysColor(highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT), false};
    if (grayed) {
        c.text = GetSysColor(COLOR_GRAYTEXT);
        c.engraved = !highlighted;
    }
    return c;
}

// Draws with the engraved look when asked: first white one pixel down-right, then the colour.
template <class Paint>
void Engrave(const Colors& colors, Paint paint) {
    if (colors.engraved) paint(1, RGB(255, 255, 255));
    paint(0, colors.text);
}

}  // namespace

// ---- 2. Frame ---------------------------------------------------------------------------------------
void DrawPopupFrame(HDC hdc, const PopupLayout& layout) {
    RECT popup_rect{0, 0, layout.size.cx, layout.size.cy};
    FillRect(hdc, &popup_rect, reinterpret_cast<HBRUSH>(COLOR_MENU + 1));
    DrawEdge(hdc, &popup_rect, EDGE_RAISED, BF_RECT);
    for (int x : layout.barLines) {
        RECT line_rect{x, kFrameInset, x + 2, layout.size.cy - kFrameInset};
        DrawEdge(hdc, &line_rect, EDGE_ETCHED, BF_LEFT);
    }
}

// ---- 3. Items ---------------------------------------------------------------------------------------
namespace {

void DrawSeparator(HDC hdc, const RECT& item_rect) {
    FillRect(hdc, &item_rect, reinterpret_cast<HBRUSH>(COLOR_MENU + 1));
    const int mid = item_rect.top + (item_rect.bottom - item_rect.top) / 2;
    RECT line_rect{item_rect.left, mid - 1, item_rect.right, mid + 1};
    DrawEdge(hdc, &line_rect, EDGE_ETCHED, BF_TOP);
}

void DrawOwnerItem(HDC hdc, const Menu& m, const RECT& item_rect, int index, bool highlighted, const DrawContext& ctx) {
    const Item& item = m.items[size_t(index)];
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.CtlID = 0;
    dis.itemID = item.id;
    dis.itemAction = ctx.itemAction;
    dis.itemState = (highlighted ? ODS_SELECTED : 0) | ((item.state & MF_CHECKED) ? ODS_CHECKED : 0) |
                    ((item.state & MF_GRAYED) ? ODS_GRAYED | ODS_DISABLED : 0);  // MF_DISABLED alone: drawn as enabled
    dis.hwndItem = reinterpret_cast<HWND>(m.handle);  // for menus, the menu handle
    dis.hDC = hdc;
    dis.rcItem = item_rect;
    dis.itemData = item.data;
    const int saved = SaveDC(hdc);
    SendMessageW(ctx.owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    RestoreDC(hdc, saved);
}

void DrawTextItem(HDC hdc, const Item& item, const PopupLayout& layout, int index, bool highlighted) {
    const Metrics mx = MenuMetrics(hdc);
    const ItemBox& box = layout.items[size_t(index)];
    const RECT& item_rect = box.popup_rect;
    const Colors colors = ItemColors(item, highlighted);
    HBRUSH back = CreateSolidBrush(colors.back);
    FillRect(hdc, &item_rect, back);
    DeleteObject(back);

    const int height = item_rect.bottom - item_rect.top;
    const int saved = SaveDC(hdc);
    SelectObject(hdc, MenuFont());
    SetBkMode(hdc, TRANSPARENT);
    const size_t tab = item.text.find(L'\t');
    const std::wstring left_text = item.text.substr(0, tab);
    const std::wstring right_text = tab == std::wstring::npos ? std::wstring() : item.text.substr(tab + 1);
    const int text_x = item_rect.left + 4 + mx.checkWidth;
    const int tab_x = layout.columnTabX[size_t(box.column)];
    const POINT check_pt{item_rect.left + 2 + (mx.checkWidth - kCheckSize) / 2,
                         item_rect.top + (height - kCheckSize) / 2};
    const POINT arrow_pt{item_rect.right - mx.arrowWidth + (mx.arrowWidth - kArrowWidth) / 2,
                         item_rect.top + (height - kArrowHeight) / 2};
    Engrave(colors, [&](int d, COLORREF color) {
        SetTextColor(hdc, color);
        RECT text_rect{text_x + d, item_rect.top + d, item_rect.right - mx.arrowWidth + d, item_rect.bottom + d};
        DrawTextW(hdc, left_text.c_str(), int(left_text.size()), &text_rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        if (!right_text.empty()) {
            RECT accel_rect{tab_x + d, item_rect.top + d, item_rect.right - mx.arrowWidth + d, item_rect.bottom + d};
            DrawTextW(hdc, right_text.c_str(), int(right_text.size()), &accel_rect,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        }
        if (item.state & MF_CHECKED) DrawCheckGlyph(hdc, POINT{check_pt.x + d, check_pt.y + d}, color);
        if (item.sub) DrawArrowGlyph(hdc, POINT{arrow_pt.x + d, arrow_pt.y + d}, color);
    });
    RestoreDC(hdc, saved);
}

}  // namespace

void DrawItem(HDC hdc, const Menu& m, const PopupLayout& layout, int index, bool highlighted, const DrawContext& ctx) {
    if (index < 0 || size_t(index) >= m.items.size()) return;
    const Item& item = m.items[size_t(index)];
    const RECT& item_rect = layout.items[size_t(index)].popup_rect;
    if (IsRectEmpty(&item_rect)) return;
    if (item.IsSeparator()) {
        DrawSeparator(hdc, item_rect);
    } else if (item.IsOwnerDraw()) {
        DrawOwnerItem(hdc, m, item_rect, index, highlighted, ctx);
    } else {
        DrawTextItem(hdc, item, layout, index, highlighted);
    }
}

}  // namespace menu
