// CMenuEx objects in scenario scripts: built, styled, converted to owner-drawn items and
// tracked on behalf of an element, so that the popup-menu class can be driven and looked
// at like the elements.
//
//   menuex M OPEN BK                 constructs CMenuEx(OPEN, BK) named M, with a new empty
//                                    popup menu attached (CreatePopupMenu)
//   menucall M Operation ARGS...     calls an operation; prints `menucall M Operation = R`
//   menuget M FIELD                  prints a field (`m_clrBack`, `m_arrItems[0].nID`, ...)
//   menutrack M FLAGS X Y [ELEMENT]  TrackPopupMenuWithContainerID at window point (X, Y),
//                                    for ELEMENT's ID (0: no element); the `menu` answers
//                                    apply; prints `menutrack M = R` once the menu has closed
//
// Wherever a menu is named, `M.m_arrSubMenu[i]` names a menu that M's ChangeMenuStyle made
// (and `M.m_arrSubMenu[i].m_arrSubMenu[j]` one that the conversion made below it).
#include <map>
#include <memory>

#include "frame/HostServices.h"
#include "host/HostWindow.h"
#include "utf8.h"
#include "menu/MenuEx.h"
#include "tools/kelem/kinds/Kinds.h"
#include "win32/runtime_ext.h"

namespace kelem {
namespace {

// The protected operations a script may call, opened up without changing the class.
class CScriptMenu : public CMenuEx {
public:
    CScriptMenu(OPEN_MODE open, MENUBK_MODE bk) : CMenuEx(open, bk) {}
    using CMenuEx::CalculateLeftImagePos;
    using CMenuEx::ChangeMenuStyle;
};

using MenuMap = std::map<std::string, std::shared_ptr<CScriptMenu>>;  // std::any wants copies
MenuMap& Menus(const Args& a) {
    return a.State().Slot<MenuMap>("menuex.menus");
}

// A menu by its name, or by `NAME.m_arrSubMenu[i]`.
CMenuEx* MenuByName(const Args& a, size_t i) {
    const std::string name = a.Word(i);
    const size_t dot = name.find('.');
    MenuMap& menus = Menus(a);
    auto it = menus.find(name.substr(0, dot));
    if (it == menus.end()) a.Fail("no menuex named '" + name.substr(0, dot) + "'");
    CMenuEx* menu = it->second.get();
    // Down through the menus each conversion made: M.m_arrSubMenu[0].m_arrSubMenu[1] ...
    for (std::string rest = dot == std::string::npos ? "" : name.substr(dot + 1); !rest.empty();) {
        const FieldPath fp = FieldPath::Parse(rest);
        if (fp.head != "m_arrSubMenu" || fp.index < 0) a.Fail("'" + name + "' names no menu");
        if (fp.index >= menu->m_arrSubMenu.GetSize()) a.Fail("index out of range in '" + name + "'");
        menu = menu->m_arrSubMenu[fp.index];
        rest = fp.rest;
    }
    return menu;
}

CScriptMenu* OwnMenu(const Args& a, size_t i) {
    CMenuEx* menu = MenuByName(a, i);
    if (a.Word(i).find('.') != std::string::npos) a.Fail("this operation needs a menu made by menuex");
    return static_cast<CScriptMenu*>(menu);
}

COLORREF Color(const Args& a, size_t i) {
    return static_cast<COLORREF>(static_cast<unsigned int>(a.Int(i)));
}
UINT Uint(const Args& a, size_t i) {
    return static_cast<unsigned int>(a.Int(i));
}

std::string Fmt(const CString& s) {
    return kelem::Fmt(s.GetString());
}
using kelem::Fmt;

std::string FmtRecord(const tagMENUITEM& item) {
    return "strText=" + Fmt(item.strText) + " nID=" + Fmt(static_cast<long long>(item.nID)) +
           " nImageIndex=" + Fmt(item.nImageIndex) + " nLeftImagePos=" + Fmt(item.nLeftImagePos);
}

// ---- menuex ------------------------------------------------------------------------------------------
std::string VerbMenuEx(const Args& a) {
    a.ExpectCount(3);
    const std::string name = a.Word(0);
    if (name.find('.') != std::string::npos) a.Fail("a menu name has no '.'");
    MenuMap& menus = Menus(a);
    if (menus.count(name)) a.Fail("'" + name + "' exists already");
    auto menu = std::make_shared<CScriptMenu>(static_cast<OPEN_MODE>(a.Int(1)), static_cast<MENUBK_MODE>(a.Int(2)));
    menu->Attach(::CreatePopupMenu());
    menus[name] = std::move(menu);
    return "";
}

// ---- menucall ------------------------------------------------------------------------------------------
// Whether `target` is `menu` or one of the menus it opens, at any depth. Script menus
// form no cycle (appending refuses one), so the walk ends.
bool Holds(HMENU menu, HMENU target) {
    if (menu == target) return true;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        if (const HMENU sub = ::GetSubMenu(menu, i))
            if (Holds(sub, target)) return true;
    return false;
}

using MenuOp = std::function<std::string(CMenuEx* menu, const Args& a, const Args& all)>;

std::string Void() {
    return std::string();
}

const std::map<std::string, MenuOp>& MenuOperations() {
    static const std::map<std::string, MenuOp> ops = {
        {"SetBackGroundMode",
         [](CMenuEx* m, const Args& a, const Args&) {
             a.ExpectCount(1);
             m->SetBackGroundMode(static_cast<MENUBK_MODE>(a.Int(0)));
             return Void();
         }},
        {"SetOpenMode",
         [](CMenuEx* m, const Args& a, const Args&) {
             a.ExpectCount(1);
             m->SetOpenMode(static_cast<OPEN_MODE>(a.Int(0)));
             return Void();
         }},
        {"SetTextColor",
         [](CMenuEx* m, const Args& a, const Args&) {
             a.ExpectCount(1);
             m->SetTextColor(Color(a, 0));
             return Void();
         }},
        {"SetBackColor",
         [](CMenuEx* m, const Args& a, const Args&) {
             a.ExpectCount(1);
             m->SetBackColor(Color(a, 0));
             return Void();
         }},
        {"SetHighLightTextColor",
         [](CMenuEx* m, const Args& a, const Args&) {
             a.ExpectCount(1);
             m->SetHighLightTextColor(Color(a, 0));
             return Void();
         }},
        {"SetLeftColor",
         [](CMenuEx* m, const Args& a, const Args&) {
             a.ExpectCount(1);
             m->SetLeftColor(Color(a, 0));
             return Void();
         }},
        {"SetHightLightRectColor",
         [](CMenuEx* m, const Args& a, const Args&) {
             a.ExpectCount(2);
             m->SetHightLightRectColor(Color(a, 0), Color(a, 1));
             return Void();
         }},
        // With MF_POPUP (0x10) in the flags, the id is the name of the menu to open.
        {"AppendMenuEx",
         [](CMenuEx* m, const Args& a, const Args&) {
             a.ExpectCount(3);
             const UINT flags = Uint(a, 0);
             if (!(flags & MF_POPUP)) return Fmt(m->AppendMenuEx(flags, Uint(a, 1), a.Str(2)) ? 1 : 0);
             // A menu handle need not fit the UINT that AppendMenuEx takes: appended as it would.
             const HMENU sub = MenuByName(a, 1)->GetSafeHmenu();
             // A menu inside itself would have its tracking and conversion walk for ever.
             if (Holds(sub, m->GetSafeHmenu())) a.Fail("'" + a.Word(1) + "' would open a menu that holds it");
             return Fmt(::AppendMenuW(m->GetSafeHmenu(), flags, reinterpret_cast<UINT_PTR>(sub), a.Str(2)) ? 1 : 0);
         }},
        {"ModifyMenuEx",
         [](CMenuEx* m, const Args& a, const Args&) {
             a.ExpectCount(4);
             return Fmt(m->ModifyMenuEx(Uint(a, 0), Uint(a, 1), Uint(a, 2), a.Str(3)) ? 1 : 0);
         }},
        {"RemoveMenuEx",
         [](CMenuEx* m, const Args& a, const Args&) {
             a.ExpectCount(2);
             return Fmt(m->RemoveMenuEx(Uint(a, 0), Uint(a, 1)) ? 1 : 0);
         }},
        // "1 strText=.. nID=.. nImageIndex=.. nLeftImagePos=..", or "0".
        {"GetMenuItem",
         [](CMenuEx* m, const Args& a, const Args&) {
             a.ExpectCount(1);
             tagMENUITEM item;
             const int found = m->GetMenuItem(Uint(a, 0), &item);
             return Fmt(found) + (found ? " " + FmtRecord(item) : "");
         }},
        // ChangeMenuStyle SOURCE: a new popup menu is the target; the menu the conversion
        // makes is the caller's m_arrSubMenu[last].
        {"ChangeMenuStyle",
         [](CMenuEx*, const Args& a, const Args& all) {
             a.ExpectCount(1);
             CScriptMenu* self = OwnMenu(all, 0);
             self->ChangeMenuStyle(MenuByName(a, 0), ::CreatePopupMenu());
             return "m_arrSubMenu[" + Fmt(static_cast<long long>(self->m_arrSubMenu.GetSize() - 1)) + "]";
         }},
        {"CalculateLeftImagePos",
         [](CMenuEx*, const Args& a, const Args& all) {
             a.ExpectCount(1);
             OwnMenu(all, 0)->CalculateLeftImagePos(MenuByName(a, 0));
             return Void();
         }},
        {"GetMenuItemCount",
         [](CMenuEx* m, const Args& a, const Args&) {
             a.ExpectCount(0);
             return Fmt(::GetMenuItemCount(m->GetSafeHmenu()));
         }},
    };
    return ops;
}

std::string VerbMenuCall(const Args& a) {
    a.ExpectAtLeast(2);
    CMenuEx* menu = MenuByName(a, 0);
    const std::string op = a.Word(1);
    auto it = MenuOperations().find(op);
    if (it == MenuOperations().end()) a.Fail("unknown operation '" + op + "'");
    // The rest of the line, for the operation.
    std::vector<Arg> rest;
    for (size_t i = 2; i < a.Count(); ++i) rest.push_back(a.At(i));
    const Args opArgs(rest, a.Line(), a.State());
    const std::string result = it->second(menu, opArgs, a);
    return "menucall " + a.Word(0) + " " + op + (result.empty() ? "" : " = " + result);
}

// ---- menuget ---------------------------------------------------------------------------------------------
bool RecordField(const tagMENUITEM& item, const std::string& name, std::string* out) {
    const std::map<std::string, std::function<std::string()>> fields = {
        {"strText", [&] { return Fmt(item.strText); }},
        {"nID", [&] { return Fmt(static_cast<long long>(item.nID)); }},
        {"nImageIndex", [&] { return Fmt(item.nImageIndex); }},
        {"nLeftImagePos", [&] { return Fmt(item.nLeftImagePos); }},
        {"pImageList", [&] { return Fmt(item.pImageList ? 1 : 0); }},
    };
    auto it = fields.find(name);
    if (it == fields.end()) return false;
    *out = it->second();
    return true;
}

std::string VerbMenuGet(const Args& a) {
    a.ExpectCount(2);
    CMenuEx* m = MenuByName(a, 0);
    const std::string path = a.Word(1);
    const FieldPath fp = FieldPath::Parse(path);
    std::string value;
    bool known = false;
    if (fp.head == "m_arrItems" || fp.head == "m_arrSubMenu") {
        const INT_PTR count = fp.head == "m_arrItems" ? m->m_arrItems.GetSize() : m->m_arrSubMenu.GetSize();
        if (fp.index < 0 && fp.rest.empty()) {  // the array itself: its size
            value = Fmt(static_cast<long long>(count));
            known = true;
        } else if (fp.head == "m_arrItems" && fp.index >= 0) {
            if (fp.index >= count) a.Fail("index out of range in '" + path + "'");
            known = RecordField(*m->m_arrItems[fp.index], fp.rest, &value);
        }
    } else if (fp.index < 0 && fp.rest.empty()) {
        const std::map<std::string, std::function<std::string()>> fields = {
            {"m_nLeftImageWidth", [&] { return Fmt(m->m_nLeftImageWidth); }},
            {"m_nLeftImageHeight", [&] { return Fmt(m->m_nLeftImageHeight); }},
            {"m_bHasLeftImage", [&] { return Fmt(m->m_bHasLeftImage); }},
            {"m_clrHighLightRect2", [&] { return Fmt(static_cast<long long>(m->m_clrHighLightRect2)); }},
            {"m_clrHighLightRect1", [&] { return Fmt(static_cast<long long>(m->m_clrHighLightRect1)); }},
            {"m_clrBack", [&] { return Fmt(static_cast<long long>(m->m_clrBack)); }},
            {"m_clrHighLightText", [&] { return Fmt(static_cast<long long>(m->m_clrHighLightText)); }},
            {"m_clrLeft", [&] { return Fmt(static_cast<long long>(m->m_clrLeft)); }},
            {"m_clrText", [&] { return Fmt(static_cast<long long>(m->m_clrText)); }},
            {"m_nImageWidth", [&] { return Fmt(m->m_nImageWidth); }},
            {"m_nImageHeight", [&] { return Fmt(m->m_nImageHeight); }},
            {"m_pBackBmp", [&] { return Fmt(m->m_pBackBmp ? 1 : 0); }},
            {"nMenuOpenFlag", [] { return Fmt(static_cast<int>(CMenuEx::nMenuOpenFlag)); }},
            {"nMenuBackGroundMode", [] { return Fmt(static_cast<int>(CMenuEx::nMenuBackGroundMode)); }},
        };
        auto it = fields.find(path);
        if (it != fields.end()) {
            value = it->second();
            known = true;
        }
    }
    if (!known) a.Fail("unknown field '" + path + "'");
    return "menuget " + a.Word(0) + " " + path + " = " + value;
}

// ---- menutrack ---------------------------------------------------------------------------------------------
std::string VerbMenuTrack(const Args& a) {
    if (a.Count() != 4 && a.Count() != 5) a.Fail("menutrack takes MENU FLAGS X Y [ELEMENT]");
    CMenuEx* menu = MenuByName(a, 0);
    // The run's host window is the environment's main window.
    CHostWindow* host = nullptr;
    for (CHostWindow* h : CHostWindow::AllHosts())
        if (h->GetSafeHwnd() == GetEnvMainWnd()) host = h;
    if (!host) a.Fail("no host window");
    CHostWindow& window = *host;
    DWORD id = 0;
    if (a.Count() == 5) {
        CElementContainer* element = window.FindElementByName(rt::Utf8ToWide(a.Word(4)));
        if (!element) a.Fail("unknown element '" + a.Word(4) + "'");
        id = element->GetID();
    }
    POINT screen_pt{a.Int(2), a.Int(3)};
    ::ClientToScreen(window.GetSafeHwnd(), &screen_pt);
    const int result = menu->TrackPopupMenuWithContainerID(Uint(a, 1), screen_pt.x, screen_pt.y, &window, id, nullptr);
    rt::PumpMessages();  // the chosen command, posted as the menu closed, reaches the element now
    return "menutrack " + a.Word(0) + " = " + Fmt(result);
}

}  // namespace

void RegisterMenuObjects(Registry& registry) {
    registry.AddVerb("menuex", VerbMenuEx);
    registry.AddVerb("menucall", VerbMenuCall);
    registry.AddVerb("menuget", VerbMenuGet);
    registry.AddVerb("menutrack", VerbMenuTrack);
}

}  // namespace kelem
