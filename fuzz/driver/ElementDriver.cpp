// Index
//   1. Kinds, the shared host, resource counts
//   2. Key vocabulary (skin keys and file names come from a fixed set, as a host's do)
//   3. Per-kind state: creation, operations with their checks, invariants
//   4. The driver: host events, posted messages, paints
//   5. One fuzz input
#include "ElementDriver.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <vector>

#include "afx/atlgdi.h"
#include "button/ElementButton.h"
#include "scrollbar/HorizontalScrollbar.h"
#include "scrollbar/VerticalScrollbar.h"
#include "tabcontrol/ElementTabControl.h"
#include "tests/support/strips.h"
#include "win32/runtime_ext.h"

namespace kfuzz {

// ---- 1. Kinds, the shared host, resource counts -----------------------------------------------
namespace {
const char* const kKindNames[] = {"button", "vscroll", "hscroll", "tabs"};  // in the order of Kind
}  // namespace

const char* KindName(Kind kind) {
    return kKindNames[int(kind)];
}

bool KindFromName(const std::string& name, Kind* kind) {
    const auto* found = std::find(std::begin(kKindNames), std::end(kKindNames), name);
    if (found == std::end(kKindNames)) return false;
    *kind = Kind(found - std::begin(kKindNames));
    return true;
}

std::string DefaultSkinDir() {
    if (const char* dir = std::getenv("KELEM_SKIN_DIR")) return dir;
    return std::string(KELEM_SOURCE_DIR) + "/skins/default";
}

namespace {
const SIZE kWindowSize{400, 160};

[[noreturn]] void Die(const std::string& why) {
    std::fprintf(stderr, "%s\n", why.c_str());
    std::abort();
}
}  // namespace

CHeadlessHost& SharedHost() {
    static CHeadlessHost* host = [] {
        rt::UseVirtualClock();
        auto* h = new CHeadlessHost(kWindowSize);  // lives as long as the process
        if (!h->LoadSkin(DefaultSkinDir())) Die("cannot load the skin " + DefaultSkinDir());
        h->Pump();
        return h;
    }();
    return *host;
}

ResourceCount CountResources(CHeadlessHost* host) {
    ResourceCount count;
    count.gdi = rt::GdiObjectTotal() - (host ? host->Skin().Factory()->GetLoadedCount() : 0);
    count.menus = rt::MenuObjectCount();
    return count;
}

void AbortOnLeak(const ResourceCount& before, const ResourceCount& after, const std::string& what) {
    if (after == before) return;
    Die(what + " left GDI objects " + std::to_string(before.gdi) + " -> " + std::to_string(after.gdi) + ", menus " +
        std::to_string(before.menus) + " -> " + std::to_string(after.menus));
}

void RunParserInput(const std::string& what, const std::function<bool(std::string* error)>& parse) {
    const ResourceCount before = CountResources();
    std::string error;
    if (!parse(&error) && error.empty()) Die(what + " refused an input without a reason");
    AbortOnLeak(before, CountResources(), what);
}

std::string ScratchFolder(const std::string& tag) {
    static std::map<std::string, std::string> folders;
    std::string& dir = folders[tag];
    if (!dir.empty()) return dir;
    std::string tmpl = "/tmp/kelem-fuzz-" + tag + "-XXXXXX";
    if (!::mkdtemp(tmpl.data())) std::abort();
    dir = tmpl;
    HBITMAP bmp = ::CreateCompatibleBitmap(CScreenDC(), 4, 4);
    rt::SaveBmpFile(bmp, dir + "/ok.bmp");
    ::DeleteObject(bmp);
    return dir;
}

// ---- 2. Key vocabulary -------------------------------------------------------------------------
namespace {

// Colour keys, bitmap keys and file names: known ones, unknown ones, empty, very long.
// A host names its skin entries from a fixed set; drawing them from one keeps the skin's
// record of missing keys bounded in a long soak.
const std::wstring kLongKey(10000, L'k');
const wchar_t* const kKeys[] = {L"CElementTabControl.Text",
                                L"CElementTabControl.SelText",
                                L"CElementTabControl.Border",
                                L"QuoteTab.BtnText",
                                L"QuoteTab.BtnHot",
                                L"scroll_bar.UpArrow",
                                L"lefttab.bmp",
                                L"middletab.bmp",
                                L"righttab.bmp",
                                L"arrow.bmp",
                                L"Tab_Bk4.bmp",
                                L"normal.bmp",
                                L"no.such.key",
                                L"",
                                L"../escape.bmp",
                                kLongKey.c_str()};
const wchar_t* Key(ByteSource& in) {
    const uint8_t b = in.Byte();
    return b % 5 == 0 ? nullptr : kKeys[b % (sizeof kKeys / sizeof kKeys[0])];
}
const wchar_t* const kFolders[] = {L"button", L"tab_control", L"scroll_bar", L"", L"nope", L"..", kLongKey.c_str()};
const wchar_t* Folder(ByteSource& in) {
    const uint8_t b = in.Byte();
    return b % 6 == 0 ? nullptr : kFolders[b % (sizeof kFolders / sizeof kFolders[0])];
}

// A string argument kept alive for the duration of one call.
struct TextArg {
    std::wstring text;
    bool null = false;
    explicit TextArg(ByteSource& in) { text = in.Text(&null); }
    const wchar_t* Get() const { return null ? nullptr : text.c_str(); }
};

std::string Describe(const char* op, long long a = 0, long long b = 0) {
    return std::string(op) + "(" + std::to_string(a) + ", " + std::to_string(b) + ")";
}
// "" when the check holds, else what broke.
std::string Expect(bool holds, const char* op, long long a = 0, long long b = 0) {
    return holds ? "" : Describe(op, a, b);
}
// What a setter that may refuse must do: answer 1 when it takes its argument (`takes`) and
// 0 when not; once refused leave the element as it was (`unchanged`), once taken hold what
// it was given (`took`).
std::string Answer(const char* op, long long arg, long long got, bool takes, bool unchanged, bool took = true) {
    if (got != (takes ? 1 : 0)) return Describe(op, arg, got) + " answered wrong";
    if (!takes && !unchanged) return Describe(op, arg) + " refused but changed the element";
    if (takes && !took) return Describe(op, arg) + " did not take";
    return "";
}
// A setter that answers nothing: the invariants and the sanitizers judge it.
template <class E, class R, class P, class V>
std::string Set(E* e, R (E::*setter)(P), V value) {
    (e->*setter)(static_cast<P>(value));
    return "";
}

}  // namespace

// ---- 3. Per-kind state -------------------------------------------------------------------------
struct ElementDriver::State {
    virtual ~State() = default;
    virtual CElementContainer* Element() = 0;
    virtual RECT HomeRect() const = 0;
    virtual void Configure() = 0;  // after the element is in the host
    // One public operation; returns "" or what the element did wrong.
    virtual std::string Call(ByteSource& in) = 0;
    virtual std::string Invariants() = 0;
    // A posted control message; returns "" or what is wrong with it.
    virtual std::string Posted(const ControlMessage& cm) = 0;
};

namespace {

// ---- the button -----------------------------------------------------------------------------
struct ButtonState : ElementDriver::State {
    CElementButton* b = new CElementButton;
    bool focusSeen = false;
    CElementContainer* Element() override { return b; }
    RECT HomeRect() const override { return RECT{20, 20, 116, 44}; }
    void Configure() override {
        b->InitBtn(7, CLR_INVALID, nullptr, nullptr);
        b->SetImage(L"button", L"normal.bmp", L"hot.bmp", L"down.bmp", L"disable.bmp");
        b->SetButtonText(L"Buy", b->m_pFont, b->m_nFormat);
    }
    std::string Call(ByteSource& in) override {
        switch (in.Byte() % 7) {
            case 0: {
                const int id = in.Int();
                const COLORREF clr = in.Flag() ? CLR_INVALID : in.U32();
                const wchar_t* folder = Folder(in);
                const wchar_t* file = Key(in);
                auto kept = [this] { return std::make_tuple(b->m_nID, b->m_clrBk, b->m_pBkBitmap); };
                const auto before = kept();
                const BOOL ok = b->InitBtn(id, clr, folder, file);
                return Answer("InitBtn", id, ok, id >= 0, kept() == before, b->m_nID == id);
            }
            case 1: {
                const TextArg text(in);
                CFont* font = in.Flag() ? b->m_pFont : nullptr;
                const UINT format = in.Flag() ? b->m_nFormat : in.U32();
                const std::wstring before = b->m_strText;
                const BOOL ok = b->SetButtonText(text.Get(), font, format);
                return Answer("SetButtonText", text.null, ok, !text.null, b->m_strText == before,
                              b->m_strText == text.text);
            }
            case 2: {
                const wchar_t* folder = Folder(in);
                const wchar_t* normal = Key(in);
                const wchar_t* hot = Key(in);
                const wchar_t* down = Key(in);
                const wchar_t* disable = Key(in);
                auto kept = [this] { return std::make_pair(b->m_strImageFolder, b->m_strImageNormal); };
                const auto before = kept();
                const bool takes = folder && normal;
                const BOOL ok = b->SetImage(folder, normal, hot, down, disable);
                // A null hot image is the normal one.
                return Answer("SetImage", takes, ok, takes, kept() == before,
                              hot || b->m_strImageHot == b->m_strImageNormal);
            }
            case 3:
                return Set(b, &CElementButton::SetTextColor, in.U32());
            case 4:
                return Set(b, &CElementButton::SetTextHotColor, in.U32());
            case 5:
                return Set(b, &CElementButton::SetBtnDisable, in.Byte() % 4 == 0 ? in.Int() : 0);
        }
        // DrawBitmap onto a small memory DC at any rectangle, extreme ones included.
        CScreenDC screen;
        CDC dc;
        dc.Attach(::CreateCompatibleDC(screen));
        HBITMAP target = ::CreateCompatibleBitmap(screen, 32, 32);  // colour, as the screen
        CBitmap* bmp = in.Flag() ? b->m_pBkBitmap : nullptr;
        if (!bmp && in.Flag())
            if (CComPtr<IBitmapFactory> factory = GetEnvBitmapFactory())
                bmp = factory->GetFolderBitmap(L"button", L"normal.bmp");
        CRect rc{in.Int(), in.Int(), in.Int(), in.Int()};
        BOOL ok;
        {
            CSelectScope select(dc.m_hDC, target);
            CLightCanvas canvas(&dc);
            ok = b->DrawBitmap(canvas, bmp, rc);
        }
        ::DeleteObject(target);
        ::DeleteDC(dc.Detach());
        return Expect(ok == TRUE, "DrawBitmap did not return TRUE");
    }
    std::string Invariants() override {
        if (focusSeen && !b->m_bFocus) return "m_bFocus was cleared";
        focusSeen = b->m_bFocus != FALSE;
        return "";
    }
    std::string Posted(const ControlMessage& cm) override {
        if (cm.msg != 1334) return "button posted " + std::to_string(cm.msg);
        return Expect(static_cast<int>(cm.wParam) == b->m_nID && cm.lParam == 0, "1334 with the wrong ID");
    }
};

// ---- the scrollbars --------------------------------------------------------------------------
// What both scrollbars share in the checks: the position and how UpdateThumbPos answers.
// The axis (rows or columns, the message it posts) comes from the Axis traits below.
template <class Bar>
struct Axis;
template <>
struct Axis<CVerticalScrollbar> {
    static constexpr RECT kHome{20, 10, 36, 150};
    static constexpr UINT kMessage = 1344;
    static int& Number(CVerticalScrollbar* s) { return s->m_nRowNumber; }
    static void SetNumber(CVerticalScrollbar* s, int n) { s->SetRowNumber(n); }
    static void InitSet(CVerticalScrollbar* s, int set) { s->InitVScrollBar(set); }
};
template <>
struct Axis<CHorizontalScrollbar> {
    static constexpr RECT kHome{40, 20, 360, 36};
    static constexpr UINT kMessage = 1345;
    static int& Number(CHorizontalScrollbar* s) { return s->m_nColumnNumber; }
    static void SetNumber(CHorizontalScrollbar* s, int n) { s->SetColumnNumber(n); }
    static void InitSet(CHorizontalScrollbar* s, int set) { s->InitHScrollBar(set); }
};

template <class Bar>
struct ScrollState : ElementDriver::State {
    using A = Axis<Bar>;
    static constexpr bool kVertical = A::kMessage == 1344;
    Bar* s = new Bar;
    int lastPos = 0;
    CElementContainer* Element() override { return s; }
    RECT HomeRect() const override { return A::kHome; }
    void Configure() override {
        A::InitSet(s, 0);
        A::SetNumber(s, kVertical ? 100 : 50);
        s->SetPageSize(10);
        s->UpdateThumbPos(0);
    }
    std::string Call(ByteSource& in) override {
        // The vertical bar also answers GetCurrentPosition.
        if constexpr (kVertical)
            if (in.Byte() % 8 == 0) return Expect(s->GetCurrentPosition() == s->m_nCurPos, "GetCurrentPosition");
        const int op = in.Byte() % 8;
        switch (op) {
            case 0:
                return Set(s, &Bar::SetWidth, in.Int());
            case 1:
                return Set(s, &Bar::SetHeight, in.Int());
            case 2:
            case 3: {  // a page or a count below 1 leaves the thumb as it was
                const bool page = op == 2;
                const int v = in.Flag() ? int(in.Byte() % (page ? 40 : 200)) : in.Int();
                const int length = s->m_nThumbLength;
                if (page)
                    s->SetPageSize(v);
                else
                    A::SetNumber(s, v);
                return Expect(v >= 1 || s->m_nThumbLength == length, page ? "SetPageSize" : "SetNumber", v);
            }
            case 4:
                A::InitSet(s, in.Flag() ? int(in.Byte() % 8) - 1 : in.Int());
                return "";
        }
        const int n = A::Number(s);
        const int pos = in.Flag() ? in.Index(n < INT_MAX ? n + 1 : n) : in.Int();
        auto kept = [this] { return std::make_pair(s->m_nCurPos, s->m_nThumbPos); };
        const auto before = kept();
        const int result = s->UpdateThumbPos(pos);
        return Answer("UpdateThumbPos", pos, result, pos >= 0 && pos <= n && n > 0, kept() == before,
                      s->m_nCurPos == pos);
    }
    std::string Invariants() override {
        // The position only ever comes through UpdateThumbPos, which takes 0..N.
        if (s->m_nCurPos != lastPos) {
            if (s->m_nCurPos < 0 || s->m_nCurPos > A::Number(s))
                return Describe("m_nCurPos outside 0..N", s->m_nCurPos, A::Number(s));
            lastPos = s->m_nCurPos;
        }
        if (s->m_nThumbLength < 0) return Describe("negative m_nThumbLength", s->m_nThumbLength);
        return Expect(s->m_nCurPos >= 0, "negative m_nCurPos", s->m_nCurPos);
    }
    std::string Posted(const ControlMessage& cm) override {
        if (cm.msg == A::kMessage)
            return Expect(cm.wParam == (kVertical ? 1u : 2u), "position message with the wrong sender");
        if (cm.msg == WM_MOUSEMOVE && kVertical && cm.wParam == 0) return "";
        return "scrollbar posted " + std::to_string(cm.msg);
    }
};

// ---- the tab strip ---------------------------------------------------------------------------
struct TabsState : ElementDriver::State {
    static const int kMaxTabs = 24;  // keeps every step cheap in a long soak
    CElementTabControl* t = new CElementTabControl(0);
    // The tab and button IDs as they were before this step (Invariants takes them after
    // every step): the oracle for which IDs a call must know.
    std::set<int> ids, buttonIds;
    CElementContainer* Element() override { return t; }
    RECT HomeRect() const override { return RECT{0, 0, 400, 30}; }

    void Configure() override {
        t->SetStyle(1, 0, 0);
        for (_TAB_PARAM_INFO_ info : {kt::TabInfo(1, L"Stocks"), kt::TabInfo(2, L"Bonds"), kt::TabInfo(3, L"FX")})
            t->Add(&info);
        t->AddTextButton(L"F10", 50, L"QuoteTab.BtnText", L"QuoteTab.BtnHot", nullptr, nullptr, 0, CString(L""));
        t->SetTabHeight(24);
    }
    int Count() const { return int(t->m_arrItems.GetSize()); }
    // Per tab: how long its name is, and whether it is visible.
    std::vector<std::pair<int, bool>> Tabs() const {
        std::vector<std::pair<int, bool>> tabs;
        for (INT_PTR i = 0; i < t->m_arrItems.GetSize(); ++i)
            tabs.emplace_back(t->m_arrItems[i]->m_strName.GetLength(), t->m_arrItems[i]->m_bVisible != 0);
        return tabs;
    }
    int Id(ByteSource& in) {
        const uint8_t sel = in.Byte() % 4;
        if (sel == 0 && Count() > 0) return t->m_arrItems[in.Byte() % Count()]->m_nID;
        if (sel == 1 && t->m_arrTextBtn.GetSize() > 0)
            return t->m_arrTextBtn[in.Byte() % t->m_arrTextBtn.GetSize()].nID;
        if (sel == 2) return in.Int();
        return int(in.Byte() % 40) - 2;
    }
    struct MenuArg {
        _MENU_CMD_INFO_ info;
        explicit MenuArg(ByteSource& in) {
            const int n = in.Byte() % 6;
            bool null = false;
            for (int i = 0; i < n; ++i)  // a braced list reads its bytes left to right
                info.vecMenu.push_back({in.Text(&null).c_str(), in.Flag() ? 100 + i : in.Int(),
                                        in.Flag() ? -1 : 100 + int(in.Byte() % 6), in.Byte() % 4 == 0});
            info.nSelCmdID = in.Flag() ? -1 : 100 + int(in.Byte() % 6);
        }
    };
    // A tab description with arbitrary fields; the strings live in the holder.
    struct InfoArg {
        TextArg name;
        std::unique_ptr<MenuArg> menu;
        _TAB_PARAM_INFO_ info;
        InfoArg(ByteSource& in, TabsState& st) : name(in) {
            info = kt::TabInfo(st.Id(in), name.Get());
            if (in.Flag())
                for (const wchar_t** key : {&info.lpszBkColor, &info.lpszBorderColor, &info.lpszFillNormal,
                                            &info.lpszHoverBkColor, &info.lpszFillHotlight})
                    *key = Key(in);
            if (in.Byte() % 4 == 0)
                for (const wchar_t** key : {&info.lpszLeftBmp, &info.lpszMidBmp, &info.lpszRightBmp}) *key = Key(in);
            if (in.Byte() % 4 == 0) {
                menu = std::make_unique<MenuArg>(in);
                info.pMenuInfo = &menu->info;
            }
            info.bVisible = in.Byte() % 4 == 0 ? in.Int() : 1;
            info.nDivide = in.Byte() % 4 == 0 ? in.Int() : 0;
            info.nSizeMode = in.Byte() % 4 == 0 ? in.Int() : 0;
        }
    };

    std::string Add(ByteSource& in) {
        if (Count() >= kMaxTabs) return "";
        const int before = Count();
        if (in.Byte() % 16 == 0) return Expect(t->Add(nullptr) == -1 && Count() == before, "Add of a null record");
        InfoArg arg(in, *this);
        const bool duplicate = ids.count(arg.info.nID) != 0;
        const int index = t->Add(&arg.info);
        if (duplicate) return Expect(index == -1 && Count() == before, "Add of a duplicate", index);
        return Expect(index == before && Count() == before + 1, "Add index", index);
    }
    std::string InsertTabItem(ByteSource& in) {
        if (Count() >= kMaxTabs) return "";
        InfoArg arg(in, *this);
        const int index = in.Index(Count());
        const bool null = in.Byte() % 16 == 0;  // a null record adds nothing
        const int before = Count();
        try {
            t->InsertTabItem(index, null ? nullptr : &arg.info);
        } catch (CInvalidArgException* e) {
            e->Delete();
            return Expect(index < 0 && Count() == before, "InsertTabItem threw for", index);
        }
        return Expect(index >= 0 && Count() == before + !null, "InsertTabItem did not throw for", index);
    }
    std::string AddTextButton(ByteSource& in) {
        if (t->m_arrTextBtn.GetSize() >= kMaxTabs) return "";
        const TextArg caption(in);
        const int id = Id(in);
        const wchar_t* color = Key(in);
        const wchar_t* hot = Key(in);
        const wchar_t* image = in.Byte() % 4 == 0 ? Key(in) : nullptr;
        const wchar_t* hot_image = in.Byte() % 4 == 0 ? Key(in) : nullptr;
        const INT_PTR before = t->m_arrTextBtn.GetSize();
        t->AddTextButton(caption.Get(), id, color, hot, image, hot_image, in.Byte() % 2, CString(L"x"));
        return Expect(t->m_arrTextBtn.GetSize() == before + 1, "AddTextButton did not add");
    }
    std::string Call(ByteSource& in) override {
        auto flag = [&in] { return in.Flag() ? in.Int() : int(in.Byte() % 2); };
        const int op = in.Byte() % 30;
        // The calls on a tab or button read its ID first.
        const uint32_t kTakesId = 1u << 3 | 1u << 5 | 1u << 6 | 1u << 8 | 1u << 9 | 1u << 10 | 1u << 21 | 1u << 22 |
                                  1u << 23 | 1u << 28 | 1u << 29;
        const int id = kTakesId >> op & 1 ? Id(in) : 0;
        const bool known = ids.count(id) != 0, button = buttonIds.count(id) != 0;
        const int count = Count();
        using T = CElementTabControl;
        switch (op) {
            case 0:
            case 1:
                return Add(in);
            case 2:
                return InsertTabItem(in);
            case 3: {
                const int result = t->DelItem(id);
                return Answer("DelItem", id, result, known, Count() == count, Count() == count - 1);
            }
            case 4: {
                const int i = in.Index(Count()), j = in.Index(Count());
                const bool inside = i >= 0 && i < Count() && j >= 0 && j < Count();
                return Answer("SwapWithIndex", i, t->SwapWithIndex(i, j), inside, true);
            }
            case 5:
                return Answer("SetItemVisibleByID", id, t->SetItemVisibleByID(id, flag()), known, true);
            case 6:
            case 10: {  // write nothing for an unknown ID
                int out = 12345;
                const int which = op == 10 ? 2 : in.Byte() % 2;
                const int found = which == 2   ? t->GetTextBtnVisibleFromID(id, out)
                                  : which == 1 ? t->FindTabID(id, out)
                                               : t->GetItemVisibleFromID(id, out);
                return Expect(found || out == 12345, "a look-up wrote for an unknown ID", id, which);
            }
            case 7:
                return AddTextButton(in);
            case 8: {
                const TextArg text(in);
                return Answer("SetBtnTextByID", id, t->SetBtnTextByID(id, text.Get()), button && !text.null, true);
            }
            case 9:
                return Answer("SetTextBtnVisibleByID", id, t->SetTextBtnVisibleByID(id, flag()), button, true);
            case 11: {
                const int style = in.Flag() ? in.Int() : 1;
                const int align = in.Flag() ? in.Int() : in.Byte() % 3;
                const int pos = in.Flag() ? in.Int() : in.Byte() % 4;
                t->SetStyle(style, align, pos);
                return "";
            }
            // Values outside the enumerations too: a host may pass any int.
            case 12:
                return Set(t, &T::SetTabBtnAglin, flag());
            case 13:
                return Set(t, &T::SetTabArrangement, flag());
            case 14:
            case 15: {  // below 1 refused
                const bool width = op == 15;
                const int v = in.Flag() ? int(in.Byte() % (width ? 200 : 60)) - 5 : in.Int();
                int& field = width ? t->m_nTabWidth : t->m_nTabHeight;
                const int old = field;
                const int result = width ? t->SetTabWidth(v) : t->SetTabHeight(v);
                return Answer(width ? "SetTabWidth" : "SetTabHeight", v, result, v >= 1, field == old);
            }
            case 16:
                return Set(t, &T::SetTabbkDrawType, in.Int());
            case 17: {
                const wchar_t* bmp = Key(in);
                return Answer("SetTabBKbmp", 0, t->SetTabBKbmp(bmp), bmp != nullptr, true);
            }
            case 18:
                return Set(t, &T::SetBkColor, in.U32());
            case 19: {
                const int mode = in.Flag() ? int(in.Byte() % 5) : in.Int();
                t->SetGrayBkColor(mode);
                return Expect(t->GetGrayBkColor() == mode, "GetGrayBkColor");
            }
            case 20: {
                RECT rc{};
                t->GetTabAreaRect(&rc);
                return "";
            }
            case 21: {
                const int selected = t->m_nSelTab;
                const int result = t->SetSelectedTab(id);
                return Answer("SetSelectedTab", id, result, known, t->m_nSelTab == selected);
            }
            case 22: {
                const TextArg name(in);
                const auto before = Tabs();
                const int result = t->ChangeItemNameByID(id, name.Get());
                return Answer("ChangeItemNameByID", id, result, known && !name.null, Tabs() == before);
            }
            case 23:
                return Expect(t->SetItemWidthWithMargin(id, in.Int()) == 0 || known, "SetItemWidthWithMargin", id);
            case 24:
                return Set(t, &T::SetLimitMaxWidth, in.Int());
            case 25: {
                if (t->GetAllTabItemWidth() < 0) return "negative GetAllTabItemWidth";
                const auto tabs = Tabs();
                const auto visible =
                    std::count_if(tabs.begin(), tabs.end(), [](const auto& tab) { return tab.second; });
                return Expect(t->GetVisibleCount() == visible, "GetVisibleCount");
            }
            case 26: {
                const wchar_t* key = Key(in);
                return Expect((key && *key) || t->GetColorEx(key) == 0, "GetColorEx of an empty key is not 0");
            }
            case 27: {
                const wchar_t* normal = Key(in);
                const wchar_t* selected = Key(in);
                t->SetMenuArrowPic(normal, selected);
                return "";
            }
            case 28:
                t->SelectMenuByID(id, in.Flag() ? 100 + int(in.Byte() % 6) : in.Int());
                return "";
        }
        if (in.Flag()) {  // UpdateItemMenuInfoByTabID
            t->UpdateItemMenuInfoByTabID(id, nullptr);
        } else {
            MenuArg menu(in);
            t->UpdateItemMenuInfoByTabID(id, &menu.info);
        }
        return "";
    }
    std::string Invariants() override {
        if (t->m_nTabHeight < 1) return Describe("m_nTabHeight below 1", t->m_nTabHeight);
        if (t->m_nTabWidth < 1) return Describe("m_nTabWidth below 1", t->m_nTabWidth);
        ids.clear();
        buttonIds.clear();
        for (INT_PTR i = 0; i < t->m_arrItems.GetSize(); ++i) {
            if (!t->m_arrItems[i]) return "an empty tab slot";
            ids.insert(t->m_arrItems[i]->m_nID);
        }
        for (INT_PTR i = 0; i < t->m_arrTextBtn.GetSize(); ++i) buttonIds.insert(t->m_arrTextBtn[i].nID);
        return "";
    }
    std::string Posted(const ControlMessage& cm) override {
        const int id = static_cast<int>(cm.wParam);
        if (cm.msg == 1324) return Expect(ids.count(id) != 0, "1324 for a tab that does not exist");
        if (cm.msg == 1325) return Expect(buttonIds.count(id) != 0, "1325 for a button that does not exist");
        return cm.msg == 1326 ? "" : "tab control posted " + std::to_string(cm.msg);
    }
};

}  // namespace

// ---- 4. The driver ------------------------------------------------------------------------------
ElementDriver::ElementDriver(CHeadlessHost& host, Kind kind) : m_host(host), m_kind(kind) {
    if (kind == Kind::Button) m_state = std::make_unique<ButtonState>();
    if (kind == Kind::VScroll) m_state = std::make_unique<ScrollState<CVerticalScrollbar>>();
    if (kind == Kind::HScroll) m_state = std::make_unique<ScrollState<CHorizontalScrollbar>>();
    if (kind == Kind::Tabs) m_state = std::make_unique<TabsState>();
    m_home_rect = m_rect = m_state->HomeRect();
    m_paintLeaksBefore = m_host.Window().PaintLeaks();
    m_host.Window().ControlMessages().clear();
    if (!m_host.Add(m_state->Element(), L"e", m_rect)) {
        Fail("InitObject refused the element");
        return;
    }
    m_state->Configure();
    m_host.Pump();
    m_host.Window().ControlMessages().clear();
    CheckInvariants();
}

ElementDriver::~ElementDriver() {
    CElementContainer* element = m_state->Element();
    if (element->HostState()->pHost) {
        m_host.Up(POINT{-50, -50});  // no button stays down into the next run
        m_host.Window().RemoveElement(element);
    }
    m_host.Window().ControlMessages().clear();
    m_host.Pump();
}

bool ElementDriver::Fail(const std::string& what) {
    if (m_violation.empty())
        m_violation = std::string(KindName(m_kind)) + " after " + std::to_string(m_steps) + " steps: " + what;
    return false;
}

bool ElementDriver::CheckPosted() {
    auto& queue = m_host.Window().ControlMessages();
    for (const ControlMessage& cm : queue)
        if (const std::string wrong = m_state->Posted(cm); !wrong.empty()) return Fail(wrong);
    queue.clear();
    return true;
}

bool ElementDriver::CheckInvariants() {
    if (const std::string wrong = m_state->Invariants(); !wrong.empty()) return Fail(wrong);
    if (m_host.Window().PaintLeaks() != m_paintLeaksBefore) return Fail("a paint left GDI objects behind");
    return true;
}

void ElementDriver::HostEvent(ByteSource& in, int which) {
    const int w = m_rect.right - m_rect.left, h = m_rect.bottom - m_rect.top;
    auto point = [&]() {
        if (in.Byte() % 8 == 0) return POINT{in.Coord(kWindowSize.cx), in.Coord(kWindowSize.cy)};
        // Window points reach the host as 16-bit lParam halves anyway.
        auto near = [](long long origin, long long offset) {
            return int(std::max(-32768LL, std::min(32767LL, origin + offset)));
        };
        return POINT{near(m_rect.left, in.Coord(w)), near(m_rect.top, in.Coord(h))};
    };
    if (which < 3) return m_host.Move(point());
    if (which == 3) return m_host.Down(point());
    if (which == 4) return m_host.Up(point());
    if (which == 5) return m_host.Leave();
    if (which == 6) {
        static const DWORD kWaits[] = {0, 1, 49, 50, 51, 249, 250, 300, 1000};
        const uint8_t b = in.Byte();
        return m_host.Wait(b < 200 ? kWaits[b % 9] : DWORD(b) * 40);
    }
    if (which == 8) return m_host.Window().SetElementActive(m_state->Element(), in.Byte() % 4 != 0);
    if (which != 7) return void(Paint());
    // Resizes: home, empty, inverted, wide, partly off the window.
    RECT rc = m_home_rect;
    const uint8_t shape = in.Byte() % 6;
    if (shape == 1) rc.right = rc.left;
    if (shape == 2) rc.bottom = rc.top;
    if (shape == 3) {
        rc.right = rc.left - int(in.Byte() % 64);
        rc.bottom = rc.top - int(in.Byte() % 64);
    }
    if (shape == 4) {
        rc.right = rc.left + int(in.Byte()) * 16;
        rc.bottom = rc.top + int(in.Byte() % 64) * 4;
    }
    if (shape == 5) {
        const int dx = in.Byte() % 200;
        OffsetRect(&rc, -dx, -int(in.Byte() % 60));
    }
    m_rect = rc;
    m_host.Window().PlaceElement(m_state->Element(), rc);
    m_host.Pump();
}

bool ElementDriver::Step(ByteSource& in) {
    if (!m_violation.empty()) return false;
    ++m_steps;
    const uint8_t op = in.Byte() % 16;
    // Menus that open during this step take their answer from the same input.
    rt::SetMenuAnswerer([&in](const rt::MenuPopupView& popup, rt::MenuAnswer* answer) {
        const uint8_t b = in.Byte();
        if (b % 4 == 0 || popup.items.empty()) {
            answer->dismiss = true;
        } else {
            const rt::MenuItemView& item = popup.items[b % popup.items.size()];
            answer->path = L"#" + std::to_wstring(item.id);
        }
        return true;
    });
    if (op < 10) {
        HostEvent(in, op);
    } else if (op < 12) {
        // A handler called straight with any point, as a host with its own routing may.
        CElementContainer* element = m_state->Element();
        const POINT pt{in.Int(), in.Int()};
        switch (in.Byte() % 4) {
            case 0:
                element->OnMouseMove(pt.x, pt.y, 0);
                break;
            case 1:
                element->OnLButtonDown(pt);
                break;
            case 2:
                element->OnLButtonUp(pt);
                break;
            default:
                element->OnSize(0, pt.x, pt.y);
                break;
        }
        m_host.Pump();
    } else {
        const std::string wrong = m_state->Call(in);
        m_host.Pump();
        if (!wrong.empty()) Fail(wrong);
    }
    rt::SetMenuAnswerer(nullptr);
    if (!m_violation.empty()) return false;
    return CheckPosted() && CheckInvariants();
}

bool ElementDriver::Paint() {
    ::UpdateWindow(m_host.Window().GetSafeHwnd());
    m_host.Pump();
    return CheckPosted() && CheckInvariants();
}

// ---- 5. One fuzz input ----------------------------------------------------------------------------
void RunElementInput(Kind kind, const uint8_t* data, size_t size, int max_steps) {
    CHeadlessHost& host = SharedHost();
    const ResourceCount before = CountResources(&host);
    std::string violation;
    {
        BufferSource in(data, size);
        ElementDriver driver(host, kind);
        while (!in.Done() && driver.Steps() < max_steps && driver.Step(in)) {
        }
        driver.Paint();
        violation = driver.Violation();
    }
    if (!violation.empty()) Die("INVARIANT BROKEN: " + violation);
    host.Pump();
    AbortOnLeak(before, CountResources(&host), std::string("the released ") + KindName(kind));
}

}  // namespace kfuzz
