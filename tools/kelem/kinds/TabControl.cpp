// The "tabs" kind: the quote tab strip for scenario scripts.
//
//   create tabs NAME X Y W H [textbottom]
//   menuinfo M nSelCmdID                       declares a _MENU_CMD_INFO_ named M
//   menuentry M "text" nCmdID nParentID bHasSub  appends one _MENU_STR_CMD_ to it
//   call t Add nID=3 lpszName="SH A" ... pMenuInfo=M   (_TAB_PARAM_INFO_ fields by name)
//   call t InsertTabItem 0 nID=4 ...
//   call t AddTextButton "F10" 5 "QuoteTab.BtnText" "QuoteTab.BtnHot" null null 0 ""
//   get t m_arrItems[2].m_rcItem, get t m_arrTextBtn[0].sizeText, get t m_nSelTab ...
//
// Index
//   1. Menu records kept per run
//   2. Records from field=value pairs
//   3. Fields
//   4. Operations
#include <functional>
#include <map>

#include "tabcontrol/ElementTabControl.h"
#include "tools/kelem/kinds/Kinds.h"

namespace kelem {
namespace {

CElementTabControl* AsTabs(CElementContainer* e) {
    return static_cast<CElementTabControl*>(e);
}

// ---- 1. Menu records kept per run ---------------------------------------------------------------
using MenuInfos = std::map<std::string, _MENU_CMD_INFO_>;
MenuInfos& Menus(const Args& a) {
    return a.State().Slot<MenuInfos>("tabs.menuinfo");
}

// A menu information name, or null for the word null.
_MENU_CMD_INFO_* MenuArg(const Args& a, const Arg& arg) {
    if (arg.type == Arg::Type::Null) return nullptr;
    if (arg.type != Arg::Type::Word) a.Fail("a menu information name or null expected, not " + arg.Describe());
    MenuInfos& menus = Menus(a);
    auto it = menus.find(arg.word);
    if (it == menus.end()) a.Fail("no menuinfo named '" + arg.word + "'");
    return &it->second;
}

std::string MenuInfoVerb(const Args& a) {
    a.ExpectCount(2);
    _MENU_CMD_INFO_ info;
    info.nSelCmdID = a.Int(1);
    Menus(a)[a.Word(0)] = info;
    return "";
}

std::string MenuEntryVerb(const Args& a) {
    a.ExpectCount(5);
    MenuInfos& menus = Menus(a);
    auto it = menus.find(a.Word(0));
    if (it == menus.end()) a.Fail("no menuinfo named '" + a.Word(0) + "'");
    _MENU_STR_CMD_ entry;
    entry.strText = a.Str(1);
    entry.nCmdID = a.Int(2);
    entry.nParentID = a.Int(3);
    entry.bHasSub = a.Int(4);
    it->second.vecMenu.push_back(entry);
    return "";
}

// ---- 2. Records from field=value pairs -----------------------------------------------------------
const std::vector<std::string> kTabFields = {
    "nID",
    "pMenuInfo",
    "lpszName",
    "lpszTextColor",
    "lpszSelTextColor",
    "lpszBkColor",
    "lpszBorderColor",
    "lpszFillNormal",
    "lpszHoverBkColor",
    "lpszFillHotlight",
    "lpszLeftBmp",
    "lpszMidBmp",
    "lpszRightBmp",
    "lpszLeftHotBmp",
    "lpszMidHotBmp",
    "lpszRightHotBmp",
    "bVisible",
    "nDivide",
    "nSizeMode",
};

// The strings point into the script's arguments, which outlive the call.
_TAB_PARAM_INFO_ TabRecord(const Args& a, size_t from) {
    const auto pairs = a.Pairs(from, kTabFields);
    _TAB_PARAM_INFO_ info;
    info.nID = a.PairInt(pairs, "nID", 0);
    auto menu = pairs.find("pMenuInfo");
    if (menu != pairs.end()) info.pMenuInfo = MenuArg(a, *menu->second);
    const std::pair<const char*, const wchar_t**> strings[] = {
        {"lpszName", &info.lpszName},
        {"lpszTextColor", &info.lpszTextColor},
        {"lpszSelTextColor", &info.lpszSelTextColor},
        {"lpszBkColor", &info.lpszBkColor},
        {"lpszBorderColor", &info.lpszBorderColor},
        {"lpszFillNormal", &info.lpszFillNormal},
        {"lpszHoverBkColor", &info.lpszHoverBkColor},
        {"lpszFillHotlight", &info.lpszFillHotlight},
        {"lpszLeftBmp", &info.lpszLeftBmp},
        {"lpszMidBmp", &info.lpszMidBmp},
        {"lpszRightBmp", &info.lpszRightBmp},
        {"lpszLeftHotBmp", &info.lpszLeftHotBmp},
        {"lpszMidHotBmp", &info.lpszMidHotBmp},
        {"lpszRightHotBmp", &info.lpszRightHotBmp},
    };
    for (const auto& [name, field] : strings) *field = a.PairStr(pairs, name);
    info.bVisible = a.PairInt(pairs, "bVisible", 1);
    info.nDivide = a.PairInt(pairs, "nDivide", 0);
    info.nSizeMode = a.PairInt(pairs, "nSizeMode", 0);
    return info;
}

// ---- 3. Fields ---------------------------------------------------------------------------------------
std::string Fmt(const CString& s) {
    return kelem::Fmt(s.GetString());
}
using kelem::Fmt;

std::string FmtMenu(const std::vector<_MENU_STR_CMD_>& menu) {
    std::string out = "[";
    for (size_t i = 0; i < menu.size(); ++i) {
        const _MENU_STR_CMD_& e = menu[i];
        out += (i ? ", (" : "(") + Fmt(e.strText) + ", " + Fmt(e.nCmdID) + ", " + Fmt(e.nParentID) + ", " +
               Fmt(e.bHasSub) + ")";
    }
    return out + "]";
}

using Getters = std::map<std::string, std::function<std::string()>>;

bool Lookup(const Getters& getters, const std::string& name, std::string* out) {
    if (name == kFieldListName) return *out = FieldNameList(getters), true;
    auto it = getters.find(name);
    if (it == getters.end()) return false;
    *out = it->second();
    return true;
}

bool ItemField(const CQuoteTabItem& t, const std::string& name, std::string* out) {
    const Getters getters = {
        {"m_strOrgName", [&] { return Fmt(t.m_strOrgName); }},
        {"m_strName", [&] { return Fmt(t.m_strName); }},
        {"m_nID", [&] { return Fmt(t.m_nID); }},
        {"m_rcItem", [&] { return Fmt(RECT(t.m_rcItem)); }},
        {"m_strTextColor", [&] { return Fmt(t.m_strTextColor); }},
        {"m_strSelTextColor", [&] { return Fmt(t.m_strSelTextColor); }},
        {"m_strBkColor", [&] { return Fmt(t.m_strBkColor); }},
        {"m_strBorderColor", [&] { return Fmt(t.m_strBorderColor); }},
        {"m_strFillNormal", [&] { return Fmt(t.m_strFillNormal); }},
        {"m_strHoverBkColor", [&] { return Fmt(t.m_strHoverBkColor); }},
        {"m_strFillHotlight", [&] { return Fmt(t.m_strFillHotlight); }},
        {"m_vecMenu", [&] { return FmtMenu(t.m_vecMenu); }},
        {"m_nSelMenuID", [&] { return Fmt(t.m_nSelMenuID); }},
        {"m_bMenuOnClick", [&] { return Fmt(t.m_bMenuOnClick); }},
        {"m_strLeftBmp", [&] { return Fmt(t.m_strLeftBmp); }},
        {"m_strMidBmp", [&] { return Fmt(t.m_strMidBmp); }},
        {"m_strRightBmp", [&] { return Fmt(t.m_strRightBmp); }},
        {"m_strLeftHotBmp", [&] { return Fmt(t.m_strLeftHotBmp); }},
        {"m_strMidHotBmp", [&] { return Fmt(t.m_strMidHotBmp); }},
        {"m_strRightHotBmp", [&] { return Fmt(t.m_strRightHotBmp); }},
        {"m_nWidth", [&] { return Fmt(t.m_nWidth); }},
        {"m_nHeight", [&] { return Fmt(t.m_nHeight); }},
        {"m_nShareWidth", [&] { return Fmt(t.m_nShareWidth); }},
        {"m_nReserved", [&] { return Fmt(t.m_nReserved); }},
        {"m_nOrgWidth", [&] { return Fmt(t.m_nOrgWidth); }},
        {"m_nOrgHeight", [&] { return Fmt(t.m_nOrgHeight); }},
        {"m_bVisible", [&] { return Fmt(t.m_bVisible); }},
        {"m_nDivide", [&] { return Fmt(t.m_nDivide); }},
        {"m_nSizeMode", [&] { return Fmt(t.m_nSizeMode); }},
    };
    return Lookup(getters, name, out);
}

bool ButtonField(const _TEXT_BUTTON& b, const std::string& name, std::string* out) {
    const Getters getters = {
        {"strText", [&] { return Fmt(b.strText); }},           {"nID", [&] { return Fmt(b.nID); }},
        {"rcBtn", [&] { return Fmt(RECT(b.rcBtn)); }},         {"sizeText", [&] { return Fmt(SIZE(b.sizeText)); }},
        {"bHot", [&] { return Fmt(b.bHot ? 1 : 0); }},         {"strColor", [&] { return Fmt(b.strColor); }},
        {"strHotColor", [&] { return Fmt(b.strHotColor); }},   {"strExtra", [&] { return Fmt(b.strExtra); }},
        {"strImage", [&] { return Fmt(b.strImage); }},         {"strHotImage", [&] { return Fmt(b.strHotImage); }},
        {"sizeImage", [&] { return Fmt(SIZE(b.sizeImage)); }}, {"m_bVisible", [&] { return Fmt(b.m_bVisible); }},
        {"bLineFont", [&] { return Fmt(b.bLineFont); }},
    };
    return Lookup(getters, name, out);
}

[[noreturn]] void BadIndex(const std::string& path) {
    throw ScriptError("index out of range in '" + path + "'");
}

bool TabsField(CElementContainer* e, const std::string& path, std::string* out) {
    CElementTabControl* t = AsTabs(e);
    const FieldPath fp = FieldPath::Parse(path);
    if (fp.head == "m_arrItems" || fp.head == "m_arrTextBtn") {
        const bool items = fp.head == "m_arrItems";
        const INT_PTR count = items ? t->m_arrItems.GetSize() : t->m_arrTextBtn.GetSize();
        if (fp.index < 0) {  // the array itself: its size
            if (!fp.rest.empty()) return false;
            *out = Fmt(static_cast<long long>(count));
            return true;
        }
        if (fp.index >= count) BadIndex(path);
        if (items) return ItemField(*t->m_arrItems[fp.index], fp.rest, out);
        return ButtonField(t->m_arrTextBtn[fp.index], fp.rest, out);
    }
    if (fp.index >= 0 || !fp.rest.empty()) return false;
    const Getters getters = {
        {"m_vecSubMenu", [&] { return Fmt(static_cast<long long>(t->m_vecSubMenu.size())); }},
        {"m_nLeftBmpWidth", [&] { return Fmt(t->m_nLeftBmpWidth); }},
        {"m_nRightBmpWidth", [&] { return Fmt(t->m_nRightBmpWidth); }},
        {"m_nGrayBkColor", [&] { return Fmt(t->m_nGrayBkColor); }},
        {"m_nTabHeight", [&] { return Fmt(t->m_nTabHeight); }},
        {"m_nTabWidth", [&] { return Fmt(t->m_nTabWidth); }},
        {"m_nTabBkDrawType", [&] { return Fmt(t->m_nTabBkDrawType); }},
        {"m_nTabArrangement", [&] { return Fmt(t->m_nTabArrangement); }},
        {"m_nArrowMargin", [&] { return Fmt(t->m_nArrowMargin); }},
        {"m_bBmpBk", [&] { return Fmt(t->m_bBmpBk); }},
        {"m_bHandCursor", [&] { return Fmt(t->m_bHandCursor); }},
        {"m_bDrawRedLine", [&] { return Fmt(t->m_bDrawRedLine ? 1 : 0); }},
        {"m_bTabButtNeedActive", [&] { return Fmt(t->m_bTabButtNeedActive ? 1 : 0); }},
        {"m_nSelTab", [&] { return Fmt(t->m_nSelTab); }},
        {"m_nTextBtnAlign", [&] { return Fmt(t->m_nTextBtnAlign); }},
        {"m_nMenuOpenMode", [&] { return Fmt(t->m_nMenuOpenMode); }},
        {"m_nMenuStyle", [&] { return Fmt(t->m_nMenuStyle); }},
        {"m_strTabBkBmp", [&] { return Fmt(t->m_strTabBkBmp); }},
        {"m_clrBk", [&] { return Fmt(static_cast<long long>(t->m_clrBk)); }},
        {"m_clrKey", [&] { return Fmt(static_cast<long long>(t->m_clrKey)); }},
        {"m_pArrowBmp", [&] { return Fmt(t->m_pArrowBmp ? 1 : 0); }},
        {"m_pArrowSelBmp", [&] { return Fmt(t->m_pArrowSelBmp ? 1 : 0); }},
        {"m_pFont", [&] { return Fmt(t->m_pFont ? 1 : 0); }},
        {"m_pBoldFont", [&] { return Fmt(t->m_pBoldFont ? 1 : 0); }},
        {"m_pLineFont", [&] { return Fmt(t->m_pLineFont ? 1 : 0); }},
        {"m_nStyle", [&] { return Fmt(t->m_nStyle); }},
        {"m_nTabAlign", [&] { return Fmt(t->m_nTabAlign); }},
        {"m_nTabPos", [&] { return Fmt(t->m_nTabPos); }},
        {"m_nHotTab", [&] { return Fmt(t->m_nHotTab); }},
        {"m_bTextBottom", [&] { return Fmt(t->m_bTextBottom); }},
    };
    return Lookup(getters, path, out);
}

// ---- 4. Operations --------------------------------------------------------------------------------------
using Op = Operation;

Op IntOp(int (CElementTabControl::*fn)(int)) {
    return [fn](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        return Fmt((AsTabs(e)->*fn)(a.Int(0)));
    };
}

Op IntIntOp(int (CElementTabControl::*fn)(int, int)) {
    return [fn](CElementContainer* e, const Args& a) {
        a.ExpectCount(2);
        return Fmt((AsTabs(e)->*fn)(a.Int(0), a.Int(1)));
    };
}

// Operations that answer a flag and an int through a reference: "1 visible=0".
Op OutOp(int (CElementTabControl::*fn)(int, int&), const std::string& outName) {
    return [fn, outName](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        int value = -1;
        const int result = (AsTabs(e)->*fn)(a.Int(0), value);
        return Fmt(result) + (result ? " " + outName + "=" + Fmt(value) : "");
    };
}

void AddOperations(std::map<std::string, Op>& ops) {
    ops["Add"] = [](CElementContainer* e, const Args& a) {
        _TAB_PARAM_INFO_ info = TabRecord(a, 0);
        return Fmt(AsTabs(e)->Add(&info));
    };
    ops["InsertTabItem"] = [](CElementContainer* e, const Args& a) {
        a.ExpectAtLeast(1);
        _TAB_PARAM_INFO_ info = TabRecord(a, 1);
        try {
            AsTabs(e)->InsertTabItem(a.Int(0), &info);
        } catch (CInvalidArgException* ex) {
            ex->Delete();
            return std::string("invalid argument");
        }
        return std::string();
    };
    // Builds into a scratch tab (the strip is not changed but for the shared bitmap widths).
    ops["BuildTabItem"] = [](CElementContainer* e, const Args& a) {
        _TAB_PARAM_INFO_ info = TabRecord(a, 0);
        CQuoteTabItem item;
        const int result = AsTabs(e)->BuildTabItem(&info, &item);
        return Fmt(result) + " m_nWidth=" + Fmt(item.m_nWidth) + " m_nHeight=" + Fmt(item.m_nHeight);
    };
    ops["DelItem"] = IntOp(&CElementTabControl::DelItem);
    ops["SwapWithIndex"] = IntIntOp(&CElementTabControl::SwapWithIndex);
    ops["SetItemVisibleByID"] = IntIntOp(&CElementTabControl::SetItemVisibleByID);
    ops["GetItemVisibleFromID"] = OutOp(&CElementTabControl::GetItemVisibleFromID, "visible");
    ops["AddTextButton"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(8);
        const wchar_t* extra = a.Str(7);
        AsTabs(e)->AddTextButton(a.Str(0), a.Int(1), a.Str(2), a.Str(3), a.Str(4), a.Str(5), a.Int(6),
                                 CString(extra ? extra : L""));
        return std::string();
    };
    ops["SetBtnTextByID"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(2);
        return Fmt(AsTabs(e)->SetBtnTextByID(a.Int(0), a.Str(1)));
    };
    ops["SetTextBtnVisibleByID"] = IntIntOp(&CElementTabControl::SetTextBtnVisibleByID);
    ops["GetTextBtnVisibleFromID"] = OutOp(&CElementTabControl::GetTextBtnVisibleFromID, "visible");
    ops["SetStyle"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(3);
        AsTabs(e)->SetStyle(a.Int(0), a.Int(1), a.Int(2));
        return std::string();
    };
    ops["SetTabBtnAglin"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        AsTabs(e)->SetTabBtnAglin(static_cast<DIRECT>(a.Int(0)));
        return std::string();
    };
    ops["SetTabArrangement"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        return Fmt(AsTabs(e)->SetTabArrangement(static_cast<TAB_ARRANGEMENT>(a.Int(0))));
    };
    ops["SetTabHeight"] = IntOp(&CElementTabControl::SetTabHeight);
    ops["SetTabWidth"] = IntOp(&CElementTabControl::SetTabWidth);
    ops["SetTabbkDrawType"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        AsTabs(e)->SetTabbkDrawType(a.Int(0));
        return std::string();
    };
    ops["SetTabBKbmp"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        return Fmt(AsTabs(e)->SetTabBKbmp(a.Str(0)) ? 1 : 0);
    };
    ops["SetBkColor"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        AsTabs(e)->SetBkColor(static_cast<COLORREF>(static_cast<unsigned int>(a.Int(0))));
        return std::string();
    };
    ops["SetGrayBkColor"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        AsTabs(e)->SetGrayBkColor(a.Int(0));
        return std::string();
    };
    ops["GetGrayBkColor"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(0);
        return Fmt(AsTabs(e)->GetGrayBkColor());
    };
    ops["GetTabAreaRect"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(0);
        RECT rc{};
        AsTabs(e)->GetTabAreaRect(&rc);
        return Fmt(rc);
    };
    ops["SetSelectedTab"] = IntOp(&CElementTabControl::SetSelectedTab);
    ops["FindTabID"] = OutOp(&CElementTabControl::FindTabID, "index");
    ops["ChangeItemNameByID"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(2);
        return Fmt(AsTabs(e)->ChangeItemNameByID(a.Int(0), a.Str(1)));
    };
    ops["SetItemWidthWithMargin"] = IntIntOp(&CElementTabControl::SetItemWidthWithMargin);
    ops["SetLimitMaxWidth"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        AsTabs(e)->SetLimitMaxWidth(a.Int(0));
        return std::string();
    };
    ops["GetAllTabItemWidth"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(0);
        return Fmt(AsTabs(e)->GetAllTabItemWidth());
    };
    ops["GetVisibleCount"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(0);
        return Fmt(AsTabs(e)->GetVisibleCount());
    };
    ops["GetColorEx"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        return Fmt(static_cast<long long>(AsTabs(e)->GetColorEx(a.Str(0))));
    };
    ops["SetMenuArrowPic"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(2);
        AsTabs(e)->SetMenuArrowPic(a.Str(0), a.Str(1));
        return std::string();
    };
    ops["SetMenuStyle"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        AsTabs(e)->SetMenuStyle(static_cast<MENUBK_MODE>(a.Int(0)));
        return std::string();
    };
    ops["SelectMenuByID"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(2);
        AsTabs(e)->SelectMenuByID(a.Int(0), a.Int(1));
        return std::string();
    };
    ops["UpdateItemMenuInfoByTabID"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(2);
        AsTabs(e)->UpdateItemMenuInfoByTabID(a.Int(0), MenuArg(a, a.At(1)));
        return std::string();
    };
    // The command the host relays from a chosen menu entry.
    ops["OnMenuCommand"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        return Fmt(AsTabs(e)->OnMenuCommand(static_cast<DWORD>(static_cast<unsigned int>(a.Int(0)))));
    };
}

}  // namespace

void RegisterTabs(Registry& registry) {
    ElementKind kind;
    kind.name = "tabs";
    kind.create = [](const Args& args, size_t first) -> CElementContainer* {
        if (args.Count() > first + 1) args.Fail("create tabs takes at most one extra argument (textbottom)");
        return new CElementTabControl(args.Count() > first ? args.Int(first) : 0);
    };
    kind.field = TabsField;
    AddOperations(kind.operations);
    registry.Add(std::move(kind));
    registry.AddVerb("menuinfo", MenuInfoVerb);
    registry.AddVerb("menuentry", MenuEntryVerb);
}

}  // namespace kelem
