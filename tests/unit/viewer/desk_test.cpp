// The viewer's desk without a window: decoding and parsing of event lines, the scroll
// wiring between the bars and the grid, run-time re-skinning, the inspector, scaling and
// the command line.
#include "tools/kelem/viewer/Desk.h"

#include <gtest/gtest.h>

#include "host_fixture.h"
#include "scrollbar/HorizontalScrollbar.h"
#include "scrollbar/VerticalScrollbar.h"
#include "tabcontrol/ElementTabControl.h"
#include "tools/kelem/kinds/Kinds.h"
#include "tools/kelem/viewer/Inspector.h"
#include "tools/kelem/viewer/Session.h"
#include "utf8.h"
#include "win32/runtime_ext.h"

namespace {

ControlMessage Message(const wchar_t* sender, UINT msg, WPARAM wParam, LPARAM lParam, DWORD time = 0) {
    ControlMessage cm;
    cm.senderName = sender;
    cm.msg = msg;
    cm.wParam = wParam;
    cm.lParam = lParam;
    cm.time = time;
    return cm;
}

POINT CentreOf(const RECT& rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// ---- decoding and parsing ---------------------------------------------------------------------------
// Each notification decodes to its text; a line of that text parses back to the same
// message when the message is one the desk replays. The vertical bar's and the menu's,
// written by the viewer and replayed by the checker: tests/e2e (viewer_e2e.sh).
TEST(DeskEvents, DecodeAndParseBack) {
    struct Row {
        const char* name;
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        const char* text;
        bool parses;
    };
    const Row rows[] = {
        {"tab, negative id", 1324, WPARAM(-2), 0, "1324 tab selected id=-2", true},
        {"text button", 1325, 101, 0, "1325 text button id=101", true},
        {"push button", 1334, 12, 0, "1334 button clicked id=12", true},
        {"hscroll: wParam 2", 1345, 2, 3, "1345 hscroll pos=3", true},
        {"grid command", 273, 901, 0, "273 command id=901", true},
        {"forwarded move, window coordinates", 512, 0, MAKELPARAM(30, 540), "512 mouse move x=30 y=540", false},
        {"unknown", 4000, 5, -6, "4000 wParam=5 lParam=-6", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(kelem::DecodeControlMessage(Message(L"x", row.msg, row.wParam, row.lParam)), row.text);
        ControlMessage cm;
        ASSERT_EQ(kelem::ParseControlMessageLine(std::string("t=5 x ") + row.text, &cm), row.parses);
        if (!row.parses) continue;
        EXPECT_EQ(cm.msg, row.msg);
        EXPECT_EQ(static_cast<int>(cm.wParam), static_cast<int>(row.wParam));
        EXPECT_EQ(cm.lParam, row.lParam);
        EXPECT_EQ(cm.time, 5u);
    }
    ControlMessage cm;
    EXPECT_FALSE(kelem::ParseControlMessageLine("# tab top 2 \"SZ A\" (49, 2, 97, 24)", &cm)) << "a note";
    EXPECT_FALSE(kelem::ParseControlMessageLine("t=1 top 1324 tab selected", &cm)) << "no value";
    EXPECT_EQ(kelem::ControlMessageLine(Message(L"vscroll", 1344, 1, 9, 1300), 1000),
              "t=300 vscroll 1344 vscroll pos=9");
}

// ---- the desk in the reference host -------------------------------------------------------------------
class DeskTest : public ::testing::Test {
protected:
    void SetUp() override {
        rt::SetScreenSize(1280, 800);
        host = std::make_unique<CHeadlessHost>(kelem::DeskLayout().size);
        host->LoadSkin(kt::SkinDir("default"));
        kelem::RegisterAllKinds(registry);
        kelem::RegisterDeskKinds(registry);
        desk = std::make_unique<kelem::Desk>(*host, &registry);
        desk->onControlMessage = [this](const ControlMessage& cm) { events.push_back(cm); };
        ::DeleteObject(host->Snapshot());  // the tabs lay out at paint
    }
    void TearDown() override {
        desk.reset();
        host.reset();
    }
    std::vector<long long> Positions(UINT msg) const {
        std::vector<long long> out;
        for (const ControlMessage& cm : events)
            if (cm.msg == msg) out.push_back(cm.lParam);
        return out;
    }
    kelem::Registry registry;
    std::unique_ptr<CHeadlessHost> host;
    std::unique_ptr<kelem::Desk> desk;
    std::vector<ControlMessage> events;
};

TEST_F(DeskTest, GridContextMenuBackToTopScrollsBarAndGrid) {
    desk->VScroll()->UpdateThumbPos(30);
    desk->Grid()->SetTopRow(30);
    rt::SetMenuAnswerer([](const rt::MenuPopupView&, rt::MenuAnswer* answer) {
        answer->path = L"Back to top";
        return true;
    });
    const POINT inside = CentreOf(desk->Grid()->HostState()->rcContainer);
    host->Move(inside);
    rt::InjectMouse(WM_RBUTTONDOWN, inside, MK_RBUTTON);
    rt::InjectMouse(WM_RBUTTONUP, inside, 0);
    host->Pump();
    rt::SetMenuAnswerer(nullptr);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(kelem::DecodeControlMessage(events.back()), "273 command id=901");
    EXPECT_EQ(desk->Grid()->m_nTopRow, 0);
    EXPECT_EQ(desk->VScroll()->m_nCurPos, 0);
}

// A menu command's replay renaming the tab: tests/e2e (viewer_e2e.sh).
TEST_F(DeskTest, ReplayRefusesUnknownSendersAndMessagesItDoesNotReplay) {
    EXPECT_FALSE(kelem::ReplayOnDesk(*desk, Message(L"nobody", 1326, 202, 0)));
    EXPECT_FALSE(kelem::ReplayOnDesk(*desk, Message(L"buy", 1334, 11, 0)));
}

// ---- the inspector -------------------------------------------------------------------------------------------
bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST_F(DeskTest, InspectorListsFieldsByNameAndTheRecordUnderThePointer) {
    const POINT tab = CentreOf(desk->TabRect(desk->TopStrip(), 2));
    const std::vector<std::string> lines = kelem::InspectElement(registry, desk->TopStrip(), tab);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "top (tabs) (0, 0, 840, 24)");
    EXPECT_TRUE(HasLine(lines, "m_nSelTab = 0"));
    EXPECT_TRUE(HasLine(lines, "m_arrItems = 11"));
    EXPECT_TRUE(HasLine(lines, "m_arrItems[1].m_strName = \"SZ A\""));
    EXPECT_FALSE(HasLine(lines, "m_arrItems[0].m_strName = \"SH A\""));  // not under the pointer

    desk->VScroll()->UpdateThumbPos(7);
    const std::vector<std::string> bar = kelem::InspectElement(registry, desk->VScroll(), POINT{0, 0});
    EXPECT_TRUE(HasLine(bar, "m_nCurPos = 7"));
    EXPECT_TRUE(kelem::InspectElement(registry, nullptr, POINT{0, 0}).empty());
}

struct ArgsRow {
    const char* name;
    std::vector<const char*> argv;
    bool ok;
    int scale;
    const char* log;
};

TEST(ViewerArgs, OptionsAndTheirErrors) {
    const ArgsRow rows[] = {
        {"defaults", {}, true, 1, ""},
        {"scale and log", {"--scale", "3", "--log", "e.log"}, true, 3, "e.log"},
        {"scale 0", {"--scale", "0"}, false, 0, ""},
        {"scale 9", {"--scale", "9"}, false, 0, ""},
        {"scale with junk", {"--scale", "2x"}, false, 0, ""},
        {"missing value", {"--log"}, false, 0, ""},
        {"unknown option", {"--fast", "1"}, false, 0, ""},
    };
    for (const ArgsRow& row : rows) {
        std::vector<const char*> argv = {"kelem", "view"};
        argv.insert(argv.end(), row.argv.begin(), row.argv.end());
        kelem::ViewerOptions o;
        std::string error;
        ASSERT_EQ(kelem::ParseViewArgs(int(argv.size()), argv.data(), 2, &o, &error), row.ok) << row.name;
        if (!row.ok) {
            EXPECT_FALSE(error.empty()) << row.name;
            continue;
        }
        EXPECT_EQ(o.scale, row.scale) << row.name;
        EXPECT_EQ(o.logFile, row.log) << row.name;
        EXPECT_EQ(o.skinDir, kt::SkinDir("default")) << row.name;
        EXPECT_EQ(o.lightSkin, kt::SkinDir("light")) << row.name;
    }
}

}  // namespace
