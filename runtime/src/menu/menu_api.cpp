// Menus: the handle table and the item API (create, append, insert, modify, remove, query).
//
// A menu handle encodes (generation, slot); destroying a menu bumps its slot's generation,
// so a stale handle fails every call instead of reaching another menu.
//
// Index
//   1. Handle table
//   2. Items: lookup and flags
//   3. Creation and destruction
//   4. Adding and changing items
//   5. Queries
//   6. MENUITEMINFO
#include <algorithm>
#include <cstring>
#include <memory>

#include "handle_table.h"
#include "menu/menu_private.h"

namespace menu {
namespace {

// ---- 1. Handle table -------------------------------------------------------------------------
constexpr uint64_t kMenuTag = uint64_t(1) << 31;  // keeps menu values apart from window ones

struct Table {
    rt::HandleTable<Menu, rt::UserHandleLayout> menus;
    ~Table() { menus.Clear(); }
};

Table& table() {
    static Table t;  // menus are system objects, shared by the whole process
    return t;
}

HMENU Insert(bool popup) {
    auto created = std::make_unique<Menu>();
    Menu* m = created.get();
    const uint64_t v = table().menus.Insert(std::move(created), kMenuTag);
    if (!v) return nullptr;
    m->handle = reinterpret_cast<HMENU>(static_cast<uintptr_t>(v));
    m->popup = popup;
    return m->handle;
}

// Frees one menu (not its sub-menus); its handle becomes stale.
void Free(HMENU hmenu) {
    table().menus.Remove(reinterpret_cast<uintptr_t>(hmenu));
}

// Frees a menu and every sub-menu under it, at any depth. A work list instead of recursion:
// a deep tree cannot exhaust the stack, and a menu reached twice (shared, or a cycle through
// sub-menus) is already stale the second time and skipped.
void DestroyTree(HMENU hmenu) {
    std::vector<HMENU> pending{hmenu};
    while (!pending.empty()) {
        const HMENU next = pending.back();
        pending.pop_back();
        Menu* m = Find(next);
        if (!m) continue;
        for (const Item& item : m->items)
            if (item.sub) pending.push_back(item.sub);
        Free(next);
    }
}

// ---- 2. Items: lookup and flags -------------------------------------------------------------
Item* FindByCommand(Menu* m, UINT id, int depth, Menu** owner, int* index) {
    if (depth > 64) return nullptr;
    for (size_t i = 0; i < m->items.size(); ++i) {
        Item& item = m->items[i];
        if (item.sub) {
            if (Menu* sub = Find(item.sub)) {
                if (Item* found = FindByCommand(sub, id, depth + 1, owner, index)) return found;
            }
        }
        if (item.id == id) {
            if (owner) *owner = m;
            if (index) *index = int(i);
            return &item;
        }
    }
    return nullptr;
}

// The item fields the MF_ flags of Append/Insert/ModifyMenu describe.
bool FillFromFlags(Item* item, UINT flags, UINT_PTR id_or_sub, LPCWSTR content) {
    item->type = flags & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_MENUBREAK | MFT_MENUBARBREAK | MFT_RADIOCHECK |
                          MFT_RIGHTJUSTIFY | MFT_BITMAP);
    item->state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
    item->sub = nullptr;
    item->text.clear();
    item->data = 0;
    if (flags & MF_POPUP) {
        HMENU sub = reinterpret_cast<HMENU>(id_or_sub);
        if (!Find(sub)) return false;
        item->sub = sub;
    }
    item->id = UINT(id_or_sub);  // a sub-menu item's id is the sub-menu handle's value
    if (item->IsOwnerDraw()) {
        item->data = reinterpret_cast<ULONG_PTR>(content);
    } else if (!item->IsSeparator() && !(flags & MF_BITMAP) && content) {
        item->text = content;
    }
    // A separator made through these calls is grayed and disabled as well (GetMenuState
    // reports it so); one made through MENUITEMINFO is not.
    if (item->IsSeparator()) {
        item->sub = nullptr;
        item->state |= MF_GRAYED | MF_DISABLED;
    }
    return true;
}

UINT StateFlags(const Item& item) {
    UINT flags = item.type | item.state;
    if (item.sub) flags |= MF_POPUP;
    return flags;
}

}  // namespace

Menu* Find(HMENU hmenu) {
    return table().menus.Lookup(reinterpret_cast<uintptr_t>(hmenu));
}

Item* FindItem(HMENU hmenu, UINT position, UINT flags, Menu** owner, int* index) {
    Menu* m = Find(hmenu);
    if (!m) return nullptr;
    if (flags & MF_BYPOSITION) {
        if (position >= m->items.size()) return nullptr;
        if (owner) *owner = m;
        if (index) *index = int(position);
        return &m->items[position];
    }
    return FindByCommand(m, position, 0, owner, index);
}

}  // namespace menu

using menu::Find;
using menu::Item;
using menu::Menu;

namespace rt {
int MenuObjectCount() {
    return menu::table().menus.Count();
}
}  // namespace rt

// ---- 3. Creation and destruction ------------------------------------------------------------------
HMENU CreateMenu(void) {
    return menu::Insert(false);
}

HMENU CreatePopupMenu(void) {
    return menu::Insert(true);
}

BOOL DestroyMenu(HMENU hMenu) {
    if (!Find(hMenu)) return FALSE;
    menu::DestroyTree(hMenu);
    return TRUE;
}

BOOL IsMenu(HMENU hMenu) {
    return Find(hMenu) ? TRUE : FALSE;
}

// ---- 4. Adding and changing items ------------------------------------------------------------------
BOOL InsertMenuW(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem) {
    Menu* m = Find(hMenu);
    if (!m) return FALSE;
    Item item;
    if (!menu::FillFromFlags(&item, uFlags, uIDNewItem, lpNewItem)) return FALSE;
    if (item.sub == hMenu) return FALSE;  // a menu cannot open itself
    Menu* target = m;
    int index = int(m->items.size());  // a position past the end appends, as on the platform
    if (uFlags & MF_BYPOSITION) {
        if (uPosition < m->items.size()) index = int(uPosition);
    } else if (uPosition != UINT(-1)) {
        if (!menu::FindItem(hMenu, uPosition, MF_BYCOMMAND, &target, &index)) {
            target = m;
            index = int(m->items.size());
        }
    }
    target->items.insert(target->items.begin() + index, std::move(item));
    return TRUE;
}

BOOL AppendMenuW(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem) {
    return InsertMenuW(hMenu, UINT(-1), uFlags | MF_BYPOSITION, uIDNewItem, lpNewItem);
}

BOOL ModifyMenuW(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem) {
    Item* item = menu::FindItem(hMnu, uPosition, uFlags);
    if (!item) return FALSE;
    Item changed;
    if (!menu::FillFromFlags(&changed, uFlags, uIDNewItem, lpNewItem)) return FALSE;
    if (changed.sub == hMnu) return FALSE;
    // Without MF_POPUP the item no longer opens its sub-menu; the platform leaves that
    // sub-menu alive, and so does this. Only a text item replaces the text: a separator, an
    // owner-drawn or a bitmap item keeps it for GetMenuString.
    if (changed.IsSeparator() || changed.IsOwnerDraw() || (uFlags & MF_BITMAP)) changed.text = std::move(item->text);
    *item = std::move(changed);
    return TRUE;
}

// The item's sub-menu, if any, stays alive: whoever holds its handle still owns it.
BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
    Menu* owner = nullptr;
    int index = -1;
    if (!menu::FindItem(hMenu, uPosition, uFlags, &owner, &index)) return FALSE;
    owner->items.erase(owner->items.begin() + index);
    return TRUE;
}

BOOL EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable) {
    Item* item = menu::FindItem(hMenu, uIDEnableItem, uEnable);
    if (!item) return -1;
    const UINT previous = item->state & (MF_GRAYED | MF_DISABLED);
    item->state = (item->state & ~UINT(MF_GRAYED | MF_DISABLED)) | (uEnable & (MF_GRAYED | MF_DISABLED));
    return BOOL(previous);
}

// ---- 5. Queries ---------------------------------------------------------------------------------------
int GetMenuItemCount(HMENU hMenu) {
    const Menu* m = Find(hMenu);
    return m ? int(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU hMenu, int nPos) {
    const Menu* m = Find(hMenu);
    if (!m || nPos < 0 || size_t(nPos) >= m->items.size()) return UINT(-1);
    const Item& item = m->items[size_t(nPos)];
    return item.sub ? UINT(-1) : item.id;
}

HMENU GetSubMenu(HMENU hMenu, int nPos) {
    const Menu* m = Find(hMenu);
    if (!m || nPos < 0 || size_t(nPos) >= m->items.size()) return nullptr;
    const HMENU sub = m->items[size_t(nPos)].sub;
    return Find(sub) ? sub : nullptr;
}

UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags) {
    const Item* item = menu::FindItem(hMenu, uId, uFlags);
    if (!item) return UINT(-1);
    const UINT flags = menu::StateFlags(*item);
    if (!item->sub) return flags;
    const int count = GetMenuItemCount(item->sub);
    return (UINT(std::max(count, 0)) << 8) | (flags & 0xFF);  // the item count in the high byte
}

int GetMenuStringW(HMENU hMenu, UINT uIDItem, LPWSTR lpString, int cchMax, UINT flags) {
    const Item* item = menu::FindItem(hMenu, uIDItem, flags);
    if (!item) return 0;
    const std::wstring& text = item->text;  // an owner-drawn item keeps what it had
    if (!lpString || cchMax <= 0) return int(text.size());
    const size_t n = std::min(text.size(), size_t(cchMax) - 1);
    std::copy_n(text.c_str(), n, lpString);
    lpString[n] = L'\0';
    return int(n);
}

HMENU GetMenu(HWND) {
    return nullptr;  // windows here have no menu bar
}

// ---- 6. MENUITEMINFO ------------------------------------------------------------------------------------
BOOL GetMenuItemInfoW(HMENU hmenu, UINT item_pos, BOOL fByPosition, LPMENUITEMINFOW lpmii) {
    if (!lpmii || lpmii->cbSize != sizeof(MENUITEMINFOW)) return FALSE;
    const Item* item = menu::FindItem(hmenu, item_pos, fByPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (!item) return FALSE;
    const UINT mask = lpmii->fMask;
    if (mask & (MIIM_FTYPE | MIIM_TYPE)) lpmii->fType = item->type;
    if (mask & MIIM_STATE) lpmii->fState = item->state;
    if (mask & MIIM_ID) lpmii->wID = item->id;
    if (mask & MIIM_SUBMENU) lpmii->hSubMenu = item->sub;
    if (mask & MIIM_CHECKMARKS) lpmii->hbmpChecked = lpmii->hbmpUnchecked = nullptr;
    if (mask & MIIM_DATA) lpmii->dwItemData = item->data;
    if (mask & MIIM_BITMAP) lpmii->hbmpItem = nullptr;
    const bool wants_text = (mask & MIIM_STRING) || ((mask & MIIM_TYPE) && !item->IsOwnerDraw() && !item->IsSeparator());
    if (wants_text) {
        const std::wstring& text = item->text;  // an owner-drawn item keeps what it had
        if (lpmii->dwTypeData && lpmii->cch > 0) {
            const size_t n = std::min(text.size(), size_t(lpmii->cch) - 1);
            std::copy_n(text.c_str(), n, lpmii->dwTypeData);
            lpmii->dwTypeData[n] = L'\0';
            lpmii->cch = UINT(n);
        } else {
            lpmii->cch = UINT(text.size());
        }
    }
    return TRUE;
}
