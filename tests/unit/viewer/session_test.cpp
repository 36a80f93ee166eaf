// The viewer's session headless (virtual clock, no window), and both skins across every
// gallery page.
#include "tools/kelem/viewer/Session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "host_fixture.h"
#include "pixels.h"
#include "tools/kelem/Gallery.h"
#include "win32/runtime_ext.h"

namespace {

kelem::ViewerOptions Options(const std::string& name, int scale = 1) {
    kelem::ViewerOptions o;
    o.defaultSkin = kt::SkinDir("default");
    o.lightSkin = kt::SkinDir("light");
    o.skinDir = o.defaultSkin;
    o.scale = scale;
    o.logFile = kt::OutputPath("viewer/" + name + ".log");
    o.pngPath = kt::OutputPath("viewer/" + name + ".png");
    return o;
}

POINT CentreOf(const RECT& rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// F5 and F6 on a skin that is gone: what loaded before stays, the pane lists the problem,
// and the next good load clears it. Which problems keep which values: tests/unit/host.
TEST(ViewerSession, SkinProblemsShowInThePaneAndKeepWhatWasLoaded) {
    const std::string broken = kt::OutputPath("viewer/broken_skin");
    std::system(("rm -rf '" + broken + "' && cp -r '" + kt::SkinDir("light") + "' '" + broken + "'").c_str());
    kelem::ViewerOptions options = Options("skin_problems");
    options.lightSkin = broken;
    kelem::ViewerSession session(options);
    session.Refresh();
    ASSERT_TRUE(session.Panel().Problems().empty());
    ASSERT_TRUE(session.SwitchSkin());
    EXPECT_EQ(session.SkinDir(), broken);
    const COLORREF lightBack = session.GetDesk().Host().Window().m_clrBackground;
    EXPECT_EQ(lightBack, RGB(0xEC, 0xEE, 0xF2));
    std::system(("rm -rf '" + broken + "'").c_str());
    EXPECT_FALSE(session.ReloadSkin());
    session.Refresh();
    const std::vector<std::string>& problems = session.Panel().Problems();
    EXPECT_TRUE(std::any_of(problems.begin(), problems.end(), [](const std::string& p) {
        return p.find("cannot open the palette file") != std::string::npos;
    }));
    EXPECT_EQ(lightBack, session.GetDesk().Host().Window().m_clrBackground) << "the colour loaded before stays";
    ASSERT_TRUE(session.SwitchSkin());
    session.Refresh();
    EXPECT_TRUE(session.Panel().Problems().empty());
    EXPECT_EQ(session.SkinDir(), kt::SkinDir("default"));
    EXPECT_EQ(session.GetDesk().Host().Window().m_clrBackground, RGB(0x11, 0x13, 0x18));
}

TEST(ViewerSession, ScaledCaptureRepeatsEachPixel) {
    kelem::ViewerSession session(Options("scaled", 2));
    session.Refresh();
    HBITMAP one = rt::CopyScreenRect(RECT{0, 0, 1170, 600});
    HBITMAP two = session.CaptureScaled();
    kt::Image small, big;
    ASSERT_TRUE(kt::ReadBitmap(one, &small));
    ASSERT_TRUE(kt::ReadBitmap(two, &big));
    ::DeleteObject(one);
    ::DeleteObject(two);
    ASSERT_EQ(big.width, 2 * small.width);
    ASSERT_EQ(big.height, 2 * small.height);
    int differing = 0;
    for (int y = 0; y < big.height; y += 7)
        for (int x = 0; x < big.width; x += 5) differing += big.at(x, y) != small.at(x / 2, y / 2);
    EXPECT_EQ(differing, 0);
}

TEST(ViewerSession, InspectorFollowsThePointer) {
    kelem::ViewerSession session(Options("inspector"));
    session.ToggleInspector();
    kelem::Desk& desk = session.GetDesk();
    session.SetPointer(CentreOf(desk.Grid()->HostState()->rcContainer));
    session.Refresh();
    ASSERT_TRUE(session.Panel().InspectorShown());
    ASSERT_FALSE(session.Panel().InspectorLines().empty());
    EXPECT_EQ(session.Panel().InspectorLines()[0], "grid (grid) (8, 32, 820, 522)");
    desk.Grid()->SetTopRow(5);
    session.Refresh();
    const std::vector<std::string>& lines = session.Panel().InspectorLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "m_nTopRow = 5"), lines.end());
    session.SetPointer(POINT{2000, 2000});  // over no element
    session.Refresh();
    EXPECT_TRUE(session.Panel().InspectorLines().empty());
    session.ToggleInspector();
    session.SetPointer(CentreOf(desk.Grid()->HostState()->rcContainer));
    session.Refresh();
    EXPECT_TRUE(session.Panel().InspectorLines().empty());
}

// Every gallery page, the desk included, in both skins: no missing palette key or bitmap.
TEST(SkinsComplete, EveryGalleryPageInBothSkins) {
    for (const char* skin : {"default", "light"}) {
        kelem::Gallery gallery(kt::OutputPath(std::string("viewer/gallery-") + skin), kt::SkinDir(skin));
        kelem::RenderAllGalleryPages(gallery);
        EXPECT_GT(gallery.ShotCount(), 0) << skin;
        const std::vector<std::string> problems = gallery.Problems();
        EXPECT_TRUE(problems.empty()) << skin << ": " << problems.size()
                                      << " problems, the first: " << (problems.empty() ? "" : problems[0]);
    }
}

}  // namespace
