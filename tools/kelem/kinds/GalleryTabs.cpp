// Gallery page of the quote tab strip: a desk's market tabs (some with menus, two
// hidden), a selected and a hovered tab, text buttons and an image button, in every
// side, alignment, arrangement and sizing mode.
#include "frame/HostServices.h"
#include "tabcontrol/ElementTabControl.h"
#include "tools/kelem/Gallery.h"

namespace kelem {
namespace {

struct Market {
    const wchar_t* name;
    int menu;  // 0 none, 1 futures exchanges, 2 option months
    int visible;
};

const Market kMarkets[] = {
    {L"SH A", 0, 1},   {L"SZ A", 0, 1},  {L"ChiNext", 0, 1}, {L"B Shares", 0, 0}, {L"HK Main", 0, 1},
    {L"Nasdaq", 0, 1}, {L"NYSE", 0, 1},  {L"Futures", 1, 1}, {L"Options", 2, 1},  {L"Warrants", 0, 0},
    {L"Bonds", 0, 1},  {L"Funds", 0, 1}, {L"Forex", 0, 1},   {L"Indices", 0, 1},
};

_MENU_CMD_INFO_ MenuOf(int kind) {
    static const wchar_t* const futures[] = {L"CFFEX", L"SHFE", L"DCE", L"ZCE", L"INE"};
    static const wchar_t* const options[] = {L"Near month", L"Next month", L"Quarter", L"All series"};
    _MENU_CMD_INFO_ info;
    int cmd = kind * 100;
    for (const wchar_t* text : kind == 1 ? std::vector<const wchar_t*>(std::begin(futures), std::end(futures))
                                         : std::vector<const wchar_t*>(std::begin(options), std::end(options))) {
        _MENU_STR_CMD_ entry;
        entry.strText = text;
        entry.nCmdID = ++cmd;
        entry.nParentID = -1;
        info.vecMenu.push_back(entry);
    }
    info.nSelCmdID = -1;
    return info;
}

struct StripScene {
    const char* name;
    const char* label;
    SIZE size;
    int side;        // 0 top, 2 left, 3 bottom
    int align;       // 0 left, 1 right, 2 centred
    DIRECT buttons;  // text buttons follow the tabs or stand at the right
    TAB_ARRANGEMENT arrangement;
    int limit;    // SetLimitMaxWidth, 0: none
    int divide;   // equal division into this many parts, 0: none
    int markets;  // how many of kMarkets
    bool buttons_shown = true;
};

CElementTabControl* MakeStrip(CHeadlessHost& host, const StripScene& scene) {
    auto* tabs = new CElementTabControl;
    host.Add(tabs, L"tabs", RECT{0, 0, scene.size.cx, scene.size.cy});
    tabs->SetStyle(1, scene.align, scene.side);
    tabs->SetTabArrangement(scene.arrangement);
    tabs->SetTabBtnAglin(scene.buttons);
    for (int i = 0; i < scene.markets; ++i) {
        const Market& m = kMarkets[i];
        _MENU_CMD_INFO_ menu = MenuOf(m.menu);
        _TAB_PARAM_INFO_ info;
        info.nID = i;  // IDs are the columns (rows) of the equal division
        info.lpszName = m.name;
        info.lpszTextColor = L"CElementTabControl.Text";
        info.lpszSelTextColor = L"CElementTabControl.SelText";
        info.pMenuInfo = m.menu ? &menu : nullptr;
        info.bVisible = scene.divide ? 1 : m.visible;
        info.nDivide = scene.divide;
        info.nSizeMode = scene.divide ? 1 : 0;
        tabs->Add(&info);
    }
    tabs->AddTextButton(L"F10", 100, L"QuoteTab.BtnText", L"QuoteTab.BtnHot", nullptr, nullptr, 0, L"");
    tabs->AddTextButton(L"Level-2", 101, L"QuoteTab.BtnText", L"QuoteTab.BtnHot", nullptr, nullptr, 1, L"");
    tabs->AddTextButton(L"", 102, nullptr, nullptr, L"QuoteTab.BtnImage", L"QuoteTab.BtnImageHot", 0, L"layout");
    if (!scene.buttons_shown)
        for (int id : {100, 101, 102}) tabs->SetTextBtnVisibleByID(id, 0);
    tabs->OnSize(0, scene.size.cx, scene.size.cy);
    if (scene.limit) tabs->SetLimitMaxWidth(scene.limit);
    return tabs;
}

// Where a tab is on screen after the paint's equal division: paint first.
POINT TabCentre(CHeadlessHost& host, CElementTabControl* tabs, int index) {
    ::DeleteObject(host.Snapshot());
    const RECT& rc = tabs->m_arrItems[index]->m_rcItem;
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

}  // namespace

void GalleryTabs(Gallery& gallery) {
    const int all = int(std::size(kMarkets));
    static const StripScene scenes[] = {
        {"top_centred",
         "Top strip, centred: SZ A selected, HK Main hovered, two tabs hidden",
         {900, 24},
         0,
         2,
         DIRECT_FOLLOW_TABS,
         TAB_SIDE_BY_SIDE,
         0,
         0,
         all},
        {"top_left",
         "Left-aligned, text buttons following the tabs",
         {900, 24},
         0,
         0,
         DIRECT_FOLLOW_TABS,
         TAB_SIDE_BY_SIDE,
         0,
         0,
         all},
        {"top_right", "Right-aligned tabs", {760, 24}, 0, 1, DIRECT_FOLLOW_TABS, TAB_SIDE_BY_SIDE, 0, 0, 9, false},
        {"buttons_right",
         "Text buttons right-aligned to the element's edge",
         {760, 24},
         0,
         0,
         DIRECT_RIGHT,
         TAB_SIDE_BY_SIDE,
         0,
         0,
         9},
        {"top_overlapping",
         "Overlapping arrangement: each tab 5 pixels narrower",
         {900, 24},
         0,
         0,
         DIRECT_FOLLOW_TABS,
         TAB_OVERLAPPED,
         0,
         0,
         all},
        {"bottom", "Bottom strip, left-aligned", {900, 24}, 3, 0, DIRECT_FOLLOW_TABS, TAB_SIDE_BY_SIDE, 0, 0, all},
        {"shrunk",
         "Shrunk to a 460-pixel limit: no tab below its minimum width",
         {760, 24},
         0,
         0,
         DIRECT_FOLLOW_TABS,
         TAB_SIDE_BY_SIDE,
         460,
         0,
         all},
        {"equal_division",
         "Equal division into six columns by tab ID",
         {600, 24},
         0,
         0,
         DIRECT_FOLLOW_TABS,
         TAB_SIDE_BY_SIDE,
         0,
         6,
         6,
         false},
        {"left_side",
         "Left side: one row per tab, by ID",
         {100, 24 * 8},
         2,
         0,
         DIRECT_FOLLOW_TABS,
         TAB_SIDE_BY_SIDE,
         0,
         1,
         8},
    };
    gallery.Section("Quote tab strip");
    for (const StripScene& scene : scenes) {
        auto host = gallery.Scene(scene.size);
        CElementTabControl* tabs = MakeStrip(*host, scene);
        // A click selects a tab, then the pointer rests on another one.
        host->Down(TabCentre(*host, tabs, 1));
        host->Up(TabCentre(*host, tabs, 1));
        host->Move(TabCentre(*host, tabs, scene.markets > 4 ? 4 : 2));
        gallery.Shot(*host, scene.name, scene.label);
    }
}

}  // namespace kelem
