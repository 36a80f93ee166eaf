// A headless host with the default skin, for element tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/HeadlessHost.h"

namespace kt {

class HostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The element's centre in window coordinates.
    static POINT Centre(CElementContainer* e);
    std::unique_ptr<CHeadlessHost> host;
    int gdiBaseline = 0;  // GdiObjectsOutsideSkin() after set-up
};

// A skin folder of the tree (skins/<name>), and the default one.
std::string SkinDir(const char* name);
std::string DefaultSkinDir();

// Live GDI objects less the skin pictures the environment's bitmap factory holds: those
// load when first asked for, often in a paint, and stay with the skin.
int GdiObjectsOutsideSkin();

// Same size and same pixels.
bool SameBitmap(HBITMAP a, HBITMAP b);

// A black virtual screen, as a new process has it: a menu picture takes in the screen
// around the host window, which the tests run before may have drawn on.
void FreshScreen();

struct Image;
// The host window's picture as it is now: its snapshot, read back and freed.
Image Shot(CHeadlessHost& host);

}  // namespace kt
