// A headless host with the default skin, for element tests; plus a recorder of the
// control messages elements post.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/HeadlessHost.h"

namespace kt {

struct Posted {
    UINT msg;
    long long wParam;
    long long lParam;
    DWORD time;
    bool operator==(const Posted& o) const {
        return msg == o.msg && wParam == o.wParam && lParam == o.lParam && time == o.time;
    }
};
std::ostream& operator<<(std::ostream& os, const Posted& p);

class HostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Everything posted since the last call, oldest first.
    std::vector<Posted> TakePosted();
    // The element's centre and corners in window coordinates.
    static POINT Centre(CElementContainer* e);
    static RECT WindowRect(CElementContainer* e);
    std::unique_ptr<CHeadlessHost> host;
    int gdiBaseline = 0;  // GdiObjectsOutsideSkin() after set-up
};

// A skin folder of the tree (skins/<name>), and the default one.
std::string SkinDir(const char* name);
std::string DefaultSkinDir();

// Live GDI objects less the skin pictures the environment's bitmap factory holds: those
// load when first asked for, often in a paint, and stay with the skin.
int GdiObjectsOutsideSkin();

// A black virtual screen, as a new process has it: a menu picture takes in the screen
// around the host window, which the tests run before may have drawn on.
void FreshScreen();

struct Image;
// The host window's picture as it is now: its snapshot, read back and freed.
Image Shot(CHeadlessHost& host);

}  // namespace kt
