// Checks the screenshot the viewer wrote in the end-to-end test against the reference
// host: the desk is built again headless with the same skin, the logged notifications
// are put on it (selection, menu renaming, scroll positions), and the desk's part of
// the screenshot must equal that rendering pixel for pixel. A second rendering without
// the menu commands must differ where the renamed tab is, so the match proves the
// renamed tab is on screen.
//
//   viewer_e2e_check LOG PNG SKIN_DIR TAB_ID NEW_NAME
#include <algorithm>
#include <fstream>
#include <iostream>

#include "host_fixture.h"
#include "pixels.h"
#include "utf8.h"
#include "tabcontrol/ElementTabControl.h"
#include "tools/kelem/viewer/Session.h"

namespace {

struct Rendering {
    kt::Image image;
    RECT tab_rect{};  // the checked tab, window coordinates
    std::wstring tab_name;
};

Rendering Render(const std::vector<ControlMessage>& events, const std::string& skin, int tab_id, bool with_menus) {
    CHeadlessHost host(kelem::DeskLayout().size);
    host.LoadSkin(skin);
    kelem::Desk desk(host);
    ::DeleteObject(host.Snapshot());  // the tabs lay out at paint
    for (const ControlMessage& cm : events)
        if (with_menus || cm.msg != 1326) kelem::ReplayOnDesk(desk, cm);
    Rendering r;
    r.image = kt::Shot(host);
    r.tab_rect = desk.TabRect(desk.TopStrip(), tab_id);
    int index = -1;
    if (desk.TopStrip()->FindTabID(tab_id, index))
        r.tab_name = desk.TopStrip()->m_arrItems[index]->m_strName.GetString();
    return r;
}

int CountDifferences(const kt::Image& a, const kt::Image& b, const RECT& rc, POINT* first) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if (a.at(x, y) != b.at(x, y) && n++ == 0) *first = POINT{x, y};
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::cerr << "usage: viewer_e2e_check LOG PNG SKIN_DIR TAB_ID NEW_NAME\n";
        return 2;
    }
    const int tab_id = std::atoi(argv[4]);
    const std::wstring new_name = rt::Utf8ToWide(argv[5]);
    std::ifstream log(argv[1]);
    std::vector<ControlMessage> events;
    for (std::string line; std::getline(log, line);) {
        ControlMessage cm;
        if (kelem::ParseControlMessageLine(line, &cm)) events.push_back(cm);
    }
    kt::Image shot;
    std::string error;
    if (!kt::ReadPng(argv[2], &shot, &error)) {
        std::cerr << "cannot read " << argv[2] << ": " << error << "\n";
        return 1;
    }
    const Rendering renamed = Render(events, argv[3], tab_id, true);
    const Rendering plain = Render(events, argv[3], tab_id, false);
    if (renamed.tab_name != new_name) {
        std::cerr << "the reference's tab " << tab_id << " is \"" << rt::WideToUtf8(renamed.tab_name) << "\", not \""
                  << argv[5] << "\"\n";
        return 1;
    }
    const SIZE desk = kelem::DeskLayout().size;
    if (shot.width < desk.cx || shot.height < desk.cy) {
        std::cerr << "the screenshot is " << shot.width << " x " << shot.height << ", smaller than the desk\n";
        return 1;
    }
    POINT at{};
    const RECT desk_rect{0, 0, desk.cx, desk.cy};
    const int differences = CountDifferences(shot, renamed.image, desk_rect, &at);
    if (differences) {
        std::cerr << differences << " desk pixels differ from the reference, the first at (" << at.x << ", " << at.y
                  << "): " << std::hex << shot.at(at.x, at.y) << " instead of " << renamed.image.at(at.x, at.y) << "\n";
        kt::WritePng(renamed.image, std::string(argv[2]) + ".expected.png");
        return 1;
    }
    RECT tab_rect;
    ::UnionRect(&tab_rect, &renamed.tab_rect, &plain.tab_rect);
    const bool any_menu_command =
        std::any_of(events.begin(), events.end(), [](const ControlMessage& cm) { return cm.msg == 1326; });
    if (any_menu_command && CountDifferences(renamed.image, plain.image, tab_rect, &at) == 0) {
        std::cerr << "the renamed tab looks like the original one: the check proves nothing\n";
        return 1;
    }
    std::cout << "screenshot matches the reference desk (" << events.size() << " events replayed); tab " << tab_id
              << " shows \"" << argv[5] << "\" at " << kelem::Fmt(renamed.tab_rect) << "\n";
    return 0;
}
