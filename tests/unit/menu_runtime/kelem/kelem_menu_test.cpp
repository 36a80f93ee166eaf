// The scenario runner's `menu` verbs: queued answers, transcript lines, snapshots.
#include <sstream>

#include "../menu_test_util.h"
#include "pixels.h"
#include "tools/kelem/Runner.h"

namespace {

using mt::MenuTest;

struct RunFixture {
    kelem::Registry registry;
    std::ostringstream out;
    std::unique_ptr<kelem::Runner> runner;
    explicit RunFixture(const std::string& out_dir = "") {
        kelem::RegisterAllKinds(registry);
        kelem::RunOptions options;
        options.outDir = out_dir;
        runner = std::make_unique<kelem::Runner>(registry, options, out);
    }
    void Run(const std::string& script) { runner->Run(kelem::ParseScript(script)); }
    // Tracks a two-item popup owned by the host window, as an element's click would.
    UINT Track() {
        HMENU menu = CreatePopupMenu();
        HMENU sub = CreatePopupMenu();
        AppendMenuW(sub, MF_STRING, 21, L"Deep");
        AppendMenuW(menu, MF_STRING, 11, L"First");
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"Sub");
        const UINT id =
            UINT(TrackPopupMenu(menu, TPM_RETURNCMD, 20, 20, 0, runner->Host().Window().GetSafeHwnd(), nullptr));
        DestroyMenu(menu);
        return id;
    }
};

TEST_F(MenuTest, MenuVerbsAnswerPopupsInOrder) {
    RunFixture run;
    run.Run("window 200 100\nmenu \"Sub/Deep\"\nmenu cancel\n");
    EXPECT_EQ(run.Track(), 21u);
    EXPECT_EQ(run.Track(), 0u);
    EXPECT_EQ(run.Track(), 0u);  // nothing queued any more
    std::istringstream lines(run.out.str());
    std::vector<std::string> got;
    for (std::string l; std::getline(lines, l);) got.push_back(l.substr(0, l.find(':')));
    const std::vector<std::string> expected = {
        // The sub-menu's frame starts one pixel left of the item's right edge (over the
        // parent's frame), its item level with "Sub".
        "t=0 menu (20, 20, 83, 60)",
        "t=0 submenu (79, 37, 147, 60)",
        "t=0 menu choose \"Sub/Deep\" = 21",
        "t=0 menu (20, 20, 83, 60)",
        "t=0 menu cancel",
        "t=0 menu (20, 20, 83, 60)",
        "t=0 menu dismissed (no answer)"};
    EXPECT_EQ(got, expected) << run.out.str();
}

TEST_F(MenuTest, MenuVerbSnapshotShowsTheOpenPopup) {
    const std::string dir = kt::OutputPath("menu_runtime/kelem");
    RunFixture run(dir.substr(0, dir.find_last_of('/')));
    run.Run("window 200 100\nmenu \"First\" snapshot kelem_menu.png\n");
    EXPECT_EQ(run.Track(), 11u);
    EXPECT_NE(run.out.str().find("t=0 snapshot kelem_menu.png\nt=0 menu choose \"First\" = 11\n"), std::string::npos)
        << run.out.str();
    kt::Image img;
    std::string error;
    ASSERT_TRUE(kt::ReadPng(dir.substr(0, dir.find_last_of('/')) + "/kelem_menu.png", &img, &error)) << error;
    EXPECT_EQ(img.width, 200);
    EXPECT_EQ(img.at(22, 22), GetSysColor(COLOR_MENU));       // inside the popup's frame
    EXPECT_EQ(img.at(30, 25), GetSysColor(COLOR_HIGHLIGHT));  // "First" highlighted
}

TEST_F(MenuTest, MenuVerbErrors) {
    struct Row {
        const char* script;
        const char* error;
    };
    const Row rows[] = {
        {"menu\n", "expected at least 1 arguments, got 0"},
        {"menu 3\n", "menu takes \"TEXT\" or cancel"},
        {"menu \"\"\n", "menu needs the text of an item"},
        {"menu cancel picture x.png\n", "expected snapshot FILE.png"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.script);
        RunFixture run;
        try {
            run.Run(r.script);
            ADD_FAILURE() << "no error";
        } catch (const kelem::ScriptError& e) {
            EXPECT_NE(std::string(e.what()).find(r.error), std::string::npos) << e.what();
        }
    }
}

}  // namespace
