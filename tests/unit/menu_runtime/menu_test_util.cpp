#include "menu_test_util.h"

#include <algorithm>
#include <iterator>

namespace mt {

namespace {
constexpr LPCWSTR kOwnerClass = L"MtMenuOwner";

bool IsMenuMessage(UINT msg) {
    static const UINT kRecorded[] = {WM_ENTERMENULOOP, WM_EXITMENULOOP,    WM_INITMENU,
                                     WM_INITMENUPOPUP, WM_UNINITMENUPOPUP, WM_MENUSELECT,
                                     WM_MEASUREITEM,   WM_DRAWITEM,        WM_COMMAND};
    return std::find(std::begin(kRecorded), std::end(kRecorded), msg) != std::end(kRecorded);
}

}  // namespace

// The metrics of the menu font (the system's, lfMenuFont) on a screen DC.
MenuFont::MenuFont() {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    const HFONT font = CreateFontIndirectW(&ncm.lfMenuFont);
    {
        CScreenDC dc;
        CSelectScope select(dc, font);
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        SIZE letters{};
        GetTextExtentPoint32W(dc, L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 52, &letters);
        tmHeight = tm.tmHeight;
        avgChar = (letters.cx + 26) / 52;
    }
    DeleteObject(font);
}

LRESULT CALLBACK Owner::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && IsMenuMessage(msg)) {
        OwnerRecord r{msg, wParam, lParam, {}, {}};
        if (msg == WM_MEASUREITEM) {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            r.mis = *mis;
            if (self->onMeasure) self->onMeasure(mis);
        }
        if (msg == WM_DRAWITEM) {
            const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            r.dis = *dis;
            if (self->onDraw) self->onDraw(dis);
        }
        self->records.push_back(r);
        return TRUE;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

Owner::Owner(RECT screen_rect) {
    WNDCLASSW wc{};
    if (!GetClassInfoW(nullptr, kOwnerClass, &wc)) {
        wc.lpfnWndProc = Proc;
        wc.lpszClassName = kOwnerClass;
        RegisterClassW(&wc);
    }
    hwnd_ = CreateWindowExW(0, kOwnerClass, L"owner", WS_POPUP | WS_VISIBLE, screen_rect.left, screen_rect.top,
                            screen_rect.right - screen_rect.left, screen_rect.bottom - screen_rect.top, nullptr,
                            nullptr, nullptr, nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Owner::~Owner() {
    if (IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

std::vector<OwnerRecord> Owner::Only(UINT msg) const {
    std::vector<OwnerRecord> out;
    for (const OwnerRecord& r : records)
        if (r.msg == msg) out.push_back(r);
    return out;
}

void MenuTest::SetUp() {
    rt::UseVirtualClock();
    rt::PumpMessages();
    rt::SetScreenSize(640, 480);
    const RECT all{0, 0, 640, 480};
    FillRect(CScreenDC(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    menus_before_ = rt::MenuObjectCount();
    gdi_before_ = rt::GdiObjectTotal();
    lists_before_ = rt::ImageListObjectCount();
}

void MenuTest::TearDown() {
    rt::PumpMessages();
    AfxDeleteTempMaps();
    EXPECT_EQ(rt::MenuObjectCount(), menus_before_) << "a menu handle outlived the test";
    EXPECT_EQ(rt::GdiObjectTotal(), gdi_before_) << "a GDI object outlived the test";
    EXPECT_EQ(rt::ImageListObjectCount(), lists_before_) << "an image list outlived the test";
    rt::SetScreenSize(1280, 800);
}

rt::MenuPopupView OpenedView(HMENU menu, HWND owner, UINT flags, POINT at) {
    kt::MenuAnswers answers;
    answers.Cancel();
    TrackPopupMenu(menu, flags, at.x, at.y, 0, owner, nullptr);
    return answers.tracked.empty() ? rt::MenuPopupView{} : answers.tracked[0];
}

std::string Str(const RECT& rc) {
    return "(" + std::to_string(rc.left) + ", " + std::to_string(rc.top) + ", " + std::to_string(rc.right) + ", " +
           std::to_string(rc.bottom) + ")";
}

}  // namespace mt
