// Test support for the popup menus: a tab strip in a host window at a chosen screen origin,
// the objects a closed menu must give back, and access to CMenuEx's protected members.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/HeadlessHost.h"
#include "host_fixture.h"
#include "menus.h"
#include "strips.h"
#include "menu/MenuEx.h"
#include "menu/MsgRecvWnd.h"
#include "tabcontrol/ElementTabControl.h"
#include "win32/runtime_ext.h"

namespace menutest {

using Answers = kt::MenuAnswers;

// A strip of the default skin in a window whose client area starts at `origin` on the
// virtual screen.
struct StripHost : kt::Strip {
    StripHost(POINT origin_pt, RECT container_rect, DWORD element_id, int side = 0)
        : kt::Strip("skins/default", kt::StripPlace{container_rect,
                                                    SIZE{container_rect.right + 40, container_rect.bottom + 40},
                                                    origin_pt, element_id, side, 0}) {}
};

// Counts of the runtime objects a closed menu must not leave behind.
struct ObjectCounts {
    int menus = rt::MenuObjectCount();
    int gdi = kt::GdiObjectsOutsideSkin();  // skin pictures load when first painted
    int imageLists = rt::ImageListObjectCount();
    bool operator==(const ObjectCounts& o) const {
        return menus == o.menus && gdi == o.gdi && imageLists == o.imageLists;
    }
};
inline std::ostream& operator<<(std::ostream& os, const ObjectCounts& c) {
    return os << "{menus " << c.menus << ", gdi " << c.gdi << ", image lists " << c.imageLists << "}";
}

}  // namespace menutest

// CMenuEx with its protected members reachable by the tests.
class TestMenu : public CMenuEx {
public:
    explicit TestMenu(OPEN_MODE open = OPEN_DOWNWARD, MENUBK_MODE bk = MENUBK_LIGHT) : CMenuEx(open, bk) {}
    using CMenuEx::CalculateLeftImagePos;
    using CMenuEx::DeleteMneuPopupWnd;
    using CMenuEx::DrawCheckmark;
    using CMenuEx::GetImageFromToolBar;
    using CMenuEx::LoadToolBar;
};
