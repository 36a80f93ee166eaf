// Gallery page of the popup menus: a tab's drop-down menu under a top strip and upward
// from a bottom strip, thirteen entries in two columns with a checked entry, a sub-menu
// open, and a small owner-drawn menu painted only with CMenuEx's drawing helpers, in the
// light and the dark mode.
//
// Popups are captured while they are open: the page answers every tracked popup itself
// and, once the popups along the answer's path are open, copies the host window and the
// popups from the screen.
#include <algorithm>
#include <deque>
#include <vector>

#include "menu/MenuEx.h"
#include "tabcontrol/ElementTabControl.h"
#include "tools/kelem/Gallery.h"
#include "win32/runtime_ext.h"

namespace kelem {
namespace {

// ---- capturing open popups -------------------------------------------------------------------------
// The host window's client area and every open popup, from the screen (caller deletes);
// *popups gets each popup's place in the picture.
HBITMAP CaptureWithPopups(CHeadlessHost& host, std::vector<RECT>* popups) {
    ::UpdateWindow(host.Window().GetSafeHwnd());
    rt::RedrawOpenMenus();
    RECT picture_rect{0, 0, host.Size().cx, host.Size().cy};  // gallery scenes start at the screen's origin
    const std::vector<rt::MenuPopupView> open = rt::OpenMenus();
    for (const rt::MenuPopupView& view : open) ::UnionRect(&picture_rect, &picture_rect, &view.screen_rect);
    for (const rt::MenuPopupView& view : open) {
        RECT rc = view.screen_rect;
        ::OffsetRect(&rc, -picture_rect.left, -picture_rect.top);
        popups->push_back(rc);
    }
    return rt::CopyScreenRect(picture_rect);
}

// Answers the popups tracked while it lives with the queued paths (empty: dismiss) and
// writes a gallery picture of each once it is open.
class MenuShots {
public:
    explicit MenuShots(Gallery& gallery) : gallery_(gallery) {
        rt::SetMenuAnswerer([this](const rt::MenuPopupView&, rt::MenuAnswer* answer) {
            if (queue_.empty()) return false;
            *answer = std::move(queue_.front());
            queue_.pop_front();
            return true;
        });
    }
    ~MenuShots() { rt::SetMenuAnswerer(nullptr); }
    MenuShots(const MenuShots&) = delete;
    MenuShots& operator=(const MenuShots&) = delete;

    // Call before the scene opens its menu: the text runs of the picture are the scene's own
    // (the last scene repaints after its picture, once its menu has closed).
    void Next(CHeadlessHost& host, const std::wstring& path, const std::string& name, const std::string& label) {
        gallery_.Repaint(host);
        rt::MenuAnswer answer;
        answer.dismiss = path.empty();
        answer.path = path;
        answer.onShown = [this, &host, name, label] {
            std::vector<RECT> popups;
            HBITMAP bmp = CaptureWithPopups(host, &popups);
            if (bmp) {
                gallery_.Image(bmp, name, label, popups);
                ::DeleteObject(bmp);
            }
        };
        queue_.push_back(std::move(answer));
    }

private:
    Gallery& gallery_;
    std::deque<rt::MenuAnswer> queue_;
};

// ---- tab strips with menus ---------------------------------------------------------------------------
// Entries are {text, command, parent (-1: top level), has a submenu}.
_MENU_CMD_INFO_ PeriodMenu() {
    _MENU_CMD_INFO_ info;
    info.vecMenu = {{L"Day", 1100},          {L"Minutes", 1200, -1, 1}, {L"1 Min", 1201, 1200},
                    {L"5 Min", 1202, 1200},  {L"More", 1210, 1200, 1},  {L"30 Min", 1211, 1210},
                    {L"60 Min", 1212, 1210}, {L"Week", 1300},           {L"Month", 1400}};
    info.nSelCmdID = 1202;
    return info;
}

_MENU_CMD_INFO_ MonthMenu() {
    static const wchar_t* const months[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",      L"Jul",
                                            L"Aug", L"Sep", L"Oct", L"Nov", L"Dec", L"Full year"};
    _MENU_CMD_INFO_ info;
    int cmd = 2000;
    for (const wchar_t* m : months) info.vecMenu.push_back({m, ++cmd});
    info.nSelCmdID = 2005;
    return info;
}

CElementTabControl* MakeStrip(CHeadlessHost& host, const RECT& container_rect, int side) {
    auto* tabs = new CElementTabControl;
    host.Add(tabs, L"tabs", container_rect);
    tabs->SetStyle(1, 0, side);
    static const wchar_t* const names[] = {L"SH A", L"SZ A", L"Period", L"Month", L"Funds"};
    _MENU_CMD_INFO_ period = PeriodMenu();
    _MENU_CMD_INFO_ month = MonthMenu();
    for (int i = 0; i < 5; ++i) {
        _TAB_PARAM_INFO_ info;
        info.nID = i + 1;
        info.lpszName = names[i];
        info.lpszTextColor = L"CElementTabControl.Text";
        info.lpszSelTextColor = L"CElementTabControl.SelText";
        info.pMenuInfo = i == 2 ? &period : (i == 3 ? &month : nullptr);
        tabs->Add(&info);
    }
    tabs->OnSize(0, container_rect.right - container_rect.left, container_rect.bottom - container_rect.top);
    return tabs;
}

// Clicks the centre of a tab (window coordinates through the strip's place).
void ClickTab(CHeadlessHost& host, CElementTabControl* tabs, const RECT& container_rect, int index) {
    const RECT& rc = tabs->m_arrItems[index]->m_rcItem;
    const POINT window_pt{(rc.left + rc.right) / 2 + container_rect.left,
                          (rc.top + rc.bottom) / 2 + container_rect.top};
    host.Move(window_pt);
    host.Down(window_pt);
    host.Up(window_pt);
}

struct TabMenuScene {
    const char* name;
    const char* label;
    SIZE size;
    RECT strip;
    int side;
    int tab;              // the tab clicked
    const wchar_t* path;  // the item highlighted when the picture is taken
};

void TabMenuShots(Gallery& gallery, MenuShots& shots) {
    static const TabMenuScene scenes[] = {
        {"tab_menu_top", "A tab's menu under a top strip: 6 left of the tab's right edge, 7 above its bottom",
         SIZE{420, 200}, RECT{0, 0, 420, 24}, 0, 2, L"Week"},
        {"tab_menu_bottom", "Upward from a bottom strip, from the tab's top-left corner", SIZE{420, 200},
         RECT{0, 176, 420, 200}, 3, 2, L"Week"},
        {"tab_menu_columns", "Thirteen entries: the 13th starts a second column; May is the checked entry",
         SIZE{420, 260}, RECT{0, 0, 420, 24}, 0, 3, L"Full year"},
        {"tab_menu_submenu", "Sub-menus open along Minutes / More; 5 Min carries the check mark", SIZE{420, 200},
         RECT{0, 0, 420, 24}, 0, 2, L"Minutes/More/60 Min"},
    };
    for (const TabMenuScene& scene : scenes) {
        auto host = gallery.Scene(scene.size);
        CElementTabControl* tabs = MakeStrip(*host, scene.strip, scene.side);
        ClickTab(*host, tabs, scene.strip, 0);  // a selected tab beside the menu tab
        shots.Next(*host, scene.path, scene.name, scene.label);
        ClickTab(*host, tabs, scene.strip, scene.tab);
    }
}

// ---- an owner-drawn menu from the drawing helpers -------------------------------------------------------
// The demo's menu: every item owner-drawn with a record; painted with the helpers alone
// (left strip, background picture, check squares, images, engraved and normal text).
class DemoMenu : public CMenuEx {
public:
    explicit DemoMenu(MENUBK_MODE mode) : CMenuEx(OPEN_DOWNWARD, mode) {
        // Items are measured and drawn in the system's menu font, as the text items around
        // them would be.
        NONCLIENTMETRICS ncm{};
        ncm.cbSize = sizeof(ncm);
        ::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
        m_menuFont.CreateFontIndirect(&ncm.lfMenuFont);
    }

    void Build() {
        CreatePopupMenu();
        struct Item {
            UINT flags;
            UINT id;
            const wchar_t* text;
            int image;
        };
        static const Item items[] = {
            {MF_STRING, 1, L"Open quote\tF5", 0},
            {MF_STRING, 2, L"Watch\tIns", 1},
            {MF_DISABLED, 0, L"", -1},  // a separator, drawn by the item itself
            {MF_CHECKED, 3, L"Auto refresh", -1},
            {MF_CHECKED | MF_GRAYED, 4, L"Level-2 (no licence)", -1},
            {MF_GRAYED, 5, L"Export", 0},
            {MF_STRING, 6, L"Properties", -1},
        };
        UINT position = 0;
        for (const Item& it : items) {
            AppendMenuEx(MF_STRING, it.id, it.text);
            ModifyMenuEx(position++, MF_BYPOSITION | it.flags, it.id, it.text);
            m_arrItems[m_arrItems.GetSize() - 1]->nImageIndex = it.image;
        }
        MakeImages();
        MakeLeftStrip();
        CalculateLeftImagePos(this);
    }

    void MeasureItem(LPMEASUREITEMSTRUCT mis) override {
        const auto* item = reinterpret_cast<const tagMENUITEM*>(mis->itemData);
        if (!item || item->nID == 0) {
            mis->itemHeight = 7;
            mis->itemWidth = 40;
            return;
        }
        SIZE text{};
        {
            CScreenDC dc;
            CSelectScope font(dc, m_menuFont.m_hObject);
            ::GetTextExtentPoint32W(dc, item->strText.GetString(), item->strText.GetLength(), &text);
        }
        mis->itemHeight = UINT(std::max(m_nImageHeight + 6, 20));
        mis->itemWidth = UINT(m_nLeftImageWidth + 1 + m_nImageWidth + 6 + text.cx + 40);
    }

    void DrawItem(LPDRAWITEMSTRUCT dis) override {
        auto* item = reinterpret_cast<tagMENUITEM*>(dis->itemData);
        CDC* dc = CDC::FromHandle(dis->hDC);
        if (!item || !dc) return;
        const int saved = dc->SaveDC();
        ::SelectObject(dis->hDC, m_menuFont.m_hObject);  // the font MeasureItem measured in
        CRect rc(dis->rcItem);
        const bool selected = dis->itemState & ODS_SELECTED;
        const bool checked = dis->itemState & ODS_CHECKED;
        const bool disabled = dis->itemState & (ODS_GRAYED | ODS_DISABLED);
        dc->FillSolidRect(&rc, m_clrBack);
        DrawImageLeft(dc, rc, item);  // rc.left moves past the strip
        if (item->nID == 0) {         // separator: a line in a lightened text colour
            dc->FillSolidRect(rc.left + 4, rc.CenterPoint().y, rc.Width() - 8, 1, LightenColor(m_clrText, 0.6));
            dc->RestoreDC(saved);
            return;
        }
        CRect rcBack = rc;
        dc->SetBkMode(TRANSPARENT);
        dc->SetTextColor(selected ? m_clrHighLightText : m_clrText);
        if (selected && !disabled) DrawBackPic(dc, rcBack);
        CRect rcImage(rc.left + 2, rc.top + 1, rc.right, rc.bottom);
        DrawMenuItemImage(dc, rcImage, selected, checked, disabled, item->nImageIndex >= 0, item);
        const CRect rcText(rc.left + m_nImageWidth + 10, rc.top, rc.right - 6, rc.bottom);
        TextMenu(dc, rcBack, rcText, 0, disabled, item);
        dc->RestoreDC(saved);
    }

private:
    // Two 16 x 15 pictures drawn in code: a chart and a star-like plus.
    void MakeImages() {
        m_ImageList.Create(m_nImageWidth, m_nImageHeight, ILC_COLOR32 | ILC_MASK, 2, 1);
        const COLORREF key = RGB(255, 0, 255);
        for (int image = 0; image < 2; ++image) {
            CBitmap bmp;
            HDC screen = ::GetDC(nullptr);
            bmp.Attach(::CreateCompatibleBitmap(screen, m_nImageWidth, m_nImageHeight));
            HDC mem = ::CreateCompatibleDC(screen);
            HGDIOBJ old = ::SelectObject(mem, bmp.m_hObject);
            CDC* dc = CDC::FromHandle(mem);
            dc->FillSolidRect(0, 0, m_nImageWidth, m_nImageHeight, key);
            if (image == 0) {
                const int bars[] = {5, 9, 7, 12};
                for (int i = 0; i < 4; ++i)
                    dc->FillSolidRect(2 + i * 3, m_nImageHeight - 1 - bars[i], 2, bars[i], RGB(40, 150, 230));
            } else {
                dc->FillSolidRect(7, 2, 3, 11, RGB(230, 170, 40));
                dc->FillSolidRect(3, 6, 11, 3, RGB(230, 170, 40));
            }
            ::SelectObject(mem, old);
            ::DeleteDC(mem);
            ::ReleaseDC(nullptr, screen);
            m_ImageList.Add(&bmp, key);
            bmp.DeleteObject();
        }
    }

    // A 6-pixel strip down the left edge, in the highlight colours.
    void MakeLeftStrip() {
        const int width = 6, height = 200;
        HDC screen = ::GetDC(nullptr);
        m_bmpLeft.Attach(::CreateCompatibleBitmap(screen, width, height));
        HDC mem = ::CreateCompatibleDC(screen);
        HGDIOBJ old = ::SelectObject(mem, m_bmpLeft.m_hObject);
        CDC* dc = CDC::FromHandle(mem);
        for (int y = 0; y < height; ++y)
            dc->FillSolidRect(0, y, width, 1, LightenColor(m_clrHighLightRect1, 0.4 * y / height + 0.1));
        ::SelectObject(mem, old);
        ::DeleteDC(mem);
        ::ReleaseDC(nullptr, screen);
        m_bHasLeftImage = TRUE;
        m_nLeftImageWidth = width;
        m_nLeftImageHeight = height;
    }

    CFont m_menuFont;
};

void OwnerDrawnShots(Gallery& gallery, MenuShots& shots) {
    struct Mode {
        MENUBK_MODE mode;
        const char* name;
        const char* label;
    };
    static const Mode modes[] = {
        {MENUBK_LIGHT, "owner_drawn_light",
         "Owner-drawn demo, light: left strip, background picture under the highlight, check squares, a grey "
         "root sign for a checked disabled item, images, engraved disabled text"},
        {MENUBK_DARK, "owner_drawn_dark", "The same demo menu in the dark mode: white text on the dark background"},
    };
    for (const Mode& m : modes) {
        auto host = gallery.Scene(SIZE{320, 220});
        DemoMenu menu(m.mode);
        menu.Build();
        shots.Next(*host, L"#2", m.name, m.label);
        // No element has ID 0: the chosen command goes nowhere.
        menu.TrackPopupMenuWithContainerID(TPM_LEFTALIGN, 24, 16, &host->Window(), 0, nullptr);
        host->Pump();
    }
}

}  // namespace

void GalleryMenus(Gallery& gallery) {
    gallery.Section("Popup menus");
    MenuShots shots(gallery);
    TabMenuShots(gallery, shots);
    OwnerDrawnShots(gallery, shots);
}

}  // namespace kelem
