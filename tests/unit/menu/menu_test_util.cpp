#include "menu_test_util.h"

#include <deque>

#include "pixels.h"

namespace menutest {

_MENU_STR_CMD_ Entry(const wchar_t* text, int cmd, int parent, int hasSub) {
    _MENU_STR_CMD_ e;
    e.strText = text;
    e.nCmdID = cmd;
    e.nParentID = parent;
    e.bHasSub = hasSub;
    return e;
}

_MENU_CMD_INFO_ PlainMenu(int n, int first, int selected) {
    _MENU_CMD_INFO_ info;
    for (int i = 0; i < n; ++i) {
        CString text;
        text.Format(L"Item %d", i + 1);
        info.vecMenu.push_back(Entry(text.GetString(), first + i));
    }
    info.nSelCmdID = selected;
    return info;
}

StripHost::StripHost(POINT origin_pt, RECT container_rect, DWORD element_id, int side)
    : host(SIZE{container_rect.right + 40, container_rect.bottom + 40}, origin_pt),
      rect(container_rect),
      origin(origin_pt) {
    EXPECT_TRUE(host.LoadSkin("skins/default"));
    tabs = new CElementTabControl;
    EXPECT_TRUE(host.Add(tabs, L"tabs", container_rect, element_id));
    tabs->SetStyle(1, 0, side);
    host.Pump();
}

int StripHost::AddTab(int id, const wchar_t* name, _MENU_CMD_INFO_* menu) {
    _TAB_PARAM_INFO_ info;
    info.nID = id;
    info.lpszName = name;
    info.pMenuInfo = menu;
    info.lpszTextColor = L"CElementTabControl.Text";
    info.lpszSelTextColor = L"CElementTabControl.SelText";
    const int index = tabs->Add(&info);
    tabs->OnSize(0, rect.right - rect.left, rect.bottom - rect.top);
    return index;
}

void StripHost::ClickTab(int index) {
    const RECT& rc = tabs->m_arrItems[index]->m_rcItem;
    const POINT window_pt{(rc.left + rc.right) / 2 + rect.left, (rc.top + rc.bottom) / 2 + rect.top};
    host.Down(window_pt);
    host.Up(window_pt);
}

std::vector<std::pair<UINT, long long>> StripHost::TakePosts() {
    std::vector<std::pair<UINT, long long>> posts;
    for (const ControlMessage& cm : host.Window().ControlMessages())
        posts.emplace_back(cm.msg, static_cast<long long>(cm.wParam));
    host.Window().ControlMessages().clear();
    return posts;
}

std::string WriteStripBmp(const std::string& name, int n, int w, int h, const std::vector<COLORREF>& colours) {
    const std::string path = kt::OutputPath("menu/" + name);
    kt::Surface s(n > 0 ? n * w : 1, h, RGB(192, 192, 192));
    for (int i = 0; i < n; ++i)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) s.set(i * w + x, y, colours[size_t(i) % colours.size()]);
    std::string error;
    EXPECT_TRUE(rt::SaveBmpFile(s.bitmap(), path, &error)) << error;
    return path;
}

HBITMAP MakeBitmap(int w, int h, const std::function<COLORREF(int, int)>& colour) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp || !bits) return bmp;
    auto* px = static_cast<uint32_t*>(bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const COLORREF c = colour(x, y);
            px[size_t(y) * size_t(w) + size_t(x)] =
                (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | uint32_t(GetBValue(c));
        }
    return bmp;
}

Resources::Resources(const std::string& text, const std::string& base_dir) {
    ok = rt::RegisterResourceText(AfxGetResourceHandle(), text, "menu_test.rc", base_dir, &error);
}

Resources::~Resources() {
    rt::UnregisterResources(AfxGetResourceHandle());
}

}  // namespace menutest
