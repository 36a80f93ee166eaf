// Private model of USER menus, shared by the files of runtime/src/menu and by the
// resource loader in runtime/src/res. Nothing outside runtime/src includes this.
//
// Index
//   1. Menu objects      items and the process-wide handle table, as on the platform
//   2. Layout            metrics, item rectangles, columns (menu_layout.cpp)
//   3. Drawing           popups and their items (menu_draw.cpp)
#pragma once

#include <string>
#include <vector>

#include "win32/runtime_ext.h"
#include "win32/winuser.h"

namespace menu {

// ---- 1. Menu objects --------------------------------------------------------------------
struct Item {
    UINT type = MFT_STRING;  // MFT_ bits
    UINT state = 0;          // MFS_ bits (MF_GRAYED and MF_DISABLED kept apart)
    UINT id = 0;
    HMENU sub = nullptr;
    std::wstring text;
    ULONG_PTR data = 0;

    bool IsSeparator() const { return (type & MFT_SEPARATOR) != 0; }
    bool IsOwnerDraw() const { return (type & MFT_OWNERDRAW) != 0; }
    bool Selectable() const { return !IsSeparator() && !(state & (MF_GRAYED | MF_DISABLED)); }
};

struct Menu {
    HMENU handle = nullptr;
    bool popup = false;  // CreatePopupMenu (true) or CreateMenu (false)
    std::vector<Item> items;
};

Menu* Find(HMENU hmenu);  // null for null, stale or foreign handles
// The item that (position, MF_BYPOSITION or MF_BYCOMMAND flags) names; by command the
// search goes depth first through sub-menus. *owner receives the menu that holds it.
Item* FindItem(HMENU hmenu, UINT position, UINT flags, Menu** owner = nullptr, int* index = nullptr);
// Display text: '&' prefixes removed ("&&" gives "&") and the part after a tab left out.
std::wstring ShownText(const std::wstring& text);
std::string Quoted(const std::wstring& text);  // "text" with \", \\ and \t escapes
std::string RectText(const RECT& rc);          // (l, t, r, b)

// A scripted answer's path ("Recent/File 1", "#101") walked popup by popup (menu_answer.cpp).
struct AnswerStep {
    int index = -1;         // the item the path names in this popup
    bool last = false;      // it is the one to choose; else its sub-menu opens next
    std::string dismissed;  // not empty: the menu is dismissed instead, for this reason
};
class AnswerPath {
public:
    explicit AnswerPath(const std::wstring& path);
    AnswerStep Next(const rt::MenuPopupView& popup);  // the next level's step
    std::string ChooseLine(UINT id) const;            // menu choose "PATH" = ID
private:
    std::wstring m_path;
    std::vector<std::wstring> m_parts;
    size_t m_first = 0;  // the first part not yet matched
};

// ---- 2. Layout ----------------------------------------------------------------------------
struct Metrics {
    int charHeight = 0;       // tmHeight of the menu font
    int avgCharWidth = 0;     // the system's average char width (not tmAveCharWidth)
    int checkWidth = 0;       // SM_CXMENUCHECK from the menu font
    int itemHeight = 0;       // a text item
    int separatorHeight = 0;  // half SM_CYMENUSIZE
    int arrowWidth = 0;       // room kept right of the text for a sub-menu arrow
};
constexpr int kFrameInset = 3;      // raised frame (2) and a 1-pixel margin around the items
constexpr int kColumnGap = 4;       // before a column; MF_MENUBARBREAK etches a line in it
constexpr int kMenuArrowWidth = 7;  // the system's sub-menu arrow bitmap (OBM_MNARROW), 7 x 11

HFONT MenuFont();  // a stock font: never deleted
Metrics MenuMetrics(HDC hdc);

struct ItemBox {
    RECT popup_rect{};  // the item's rectangle in popup coordinates
    int column = 0;
    int textLeftWidth = 0;   // the part before a tab
    int textRightWidth = 0;  // the accelerator after a tab
};
struct PopupLayout {
    SIZE size{};                  // the whole popup with its frame
    std::vector<ItemBox> items;   // one per item, in item order
    std::vector<int> barLines;    // x of the etched lines of MF_MENUBARBREAK columns
    std::vector<int> columnTabX;  // per column, x of the accelerator texts
};
// Owner-drawn sizes come from the caller (measured beforehand), one per item (0 for others).
PopupLayout LayOut(const Menu& m, const std::vector<SIZE>& owner_sizes, HDC hdc);

// Where a popup of that size goes for (x, y) and the TPM_ alignment flags, kept on the screen.
POINT PlacePopup(POINT anchor, SIZE size, UINT flags);
// A sub-menu beside its item (screen rectangle), over the parent's frame; to the item's left
// or upward where the screen ends.
POINT PlaceSubPopup(const RECT& item_screen_rect, SIZE size);

// ---- 3. Drawing ----------------------------------------------------------------------------
struct DrawContext {
    HWND owner = nullptr;  // receives WM_DRAWITEM for owner-drawn items
    UINT itemAction = ODA_DRAWENTIRE;
};
void DrawPopupFrame(HDC hdc, const PopupLayout& layout);
void DrawItem(HDC hdc, const Menu& m, const PopupLayout& layout, int index, bool highlighted, const DrawContext& ctx);

}  // namespace menu
