#include "host_fixture.h"

#include "pixels.h"
#include "win32/runtime_ext.h"

namespace kt {

std::ostream& operator<<(std::ostream& os, const Posted& p) {
    return os << "{" << p.msg << ", " << p.wParam << ", " << p.lParam << ", t=" << p.time << "}";
}

std::string SkinDir(const char* name) {
    return std::string(KELEM_SOURCE_DIR) + "/skins/" + name;
}

std::string DefaultSkinDir() {
    return SkinDir("default");
}

void FreshScreen() {
    const SIZE screen = rt::GetScreenSize();
    rt::SetScreenSize(screen.cx + 1, screen.cy);  // a new size is a new, black screen
    rt::SetScreenSize(screen.cx, screen.cy);
}

Image Shot(CHeadlessHost& host) {
    Image image;
    HBITMAP shot = host.Snapshot();
    EXPECT_TRUE(ReadBitmap(shot, &image));
    ::DeleteObject(shot);
    return image;
}

int GdiObjectsOutsideSkin() {
    CComPtr<IBitmapFactory> factory = GetEnvBitmapFactory();
    return rt::GdiObjectTotal() - (factory ? factory->GetLoadedCount() : 0);
}

void HostTest::SetUp() {
    rt::UseVirtualClock();
    host = std::make_unique<CHeadlessHost>(SIZE{320, 200});
    host->LoadSkin(DefaultSkinDir());
    host->Pump();
    gdiBaseline = GdiObjectsOutsideSkin();
}

void HostTest::TearDown() {
    if (host) {
        EXPECT_EQ(0, host->Window().PaintLeaks()) << "a paint left GDI objects behind";
    }
    host.reset();
}

std::vector<Posted> HostTest::TakePosted() {
    std::vector<Posted> out;
    auto& queue = host->Window().ControlMessages();
    for (const ControlMessage& cm : queue)
        out.push_back(Posted{cm.msg, static_cast<long long>(cm.wParam), static_cast<long long>(cm.lParam), cm.time});
    queue.clear();
    return out;
}

RECT HostTest::WindowRect(CElementContainer* e) {
    RECT rc;
    e->GetContainerRect(&rc);
    return rc;
}

POINT HostTest::Centre(CElementContainer* e) {
    const RECT rc = WindowRect(e);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

}  // namespace kt
