// The push button as a user sees it, through the headless host and the default skin.
#include <gtest/gtest.h>

#include "button/ElementButton.h"
#include "host_fixture.h"
#include "pixels.h"
#include "win32/runtime_ext.h"

namespace {

const RECT kButtonRect{20, 20, 116, 44};  // 96 x 24, the size of the skin's images

class ButtonTest : public kt::HostTest {
protected:
    CElementButton* Make(const wchar_t* caption = L"Buy", bool disabled = false) {
        auto* b = new CElementButton;
        EXPECT_TRUE(host->Add(b, L"b", kButtonRect, 7));
        b->InitBtn(7, CLR_INVALID, nullptr, nullptr);
        b->SetImage(L"button", L"normal.bmp", L"hot.bmp", L"down.bmp", L"disable.bmp");
        b->SetButtonText(caption, b->m_pFont, b->m_nFormat);
        b->SetBtnDisable(disabled);
        host->Pump();
        return b;
    }
    // A pixel of the window, or of the skin's image of a state at the same place in the button.
    COLORREF WindowPixel(POINT pt) { return kt::Shot(*host).at(pt.x, pt.y); }
    COLORREF SkinPixel(const wchar_t* file) {
        CBitmap* bmp = host->Skin().Factory()->GetFolderBitmap(L"button", file);
        kt::Image img;
        EXPECT_TRUE(bmp && kt::ReadBitmap(HBITMAP(bmp->GetSafeHandle()), &img));
        return img.at(4, 12);
    }
};

TEST_F(ButtonTest, RegistersItsMessagesInOrderUnlessTheBaseRefuses) {
    EXPECT_EQ((std::vector<UINT>{15, 512, 513, 514, 5, 20}), Make()->HostState()->registered);
    CElementButton refused;
    EXPECT_EQ(0, refused.InitObject(nullptr, nullptr));
    EXPECT_TRUE(refused.HostState()->registered.empty());
}

// Dragging out and releasing, the disabled button and the pictures of the pressed and the
// disabled button: tests/scenarios/button_click.kel and its goldens.
struct StateRow {
    const char* name;
    void (*drive)(CHeadlessHost&, POINT);
    const wchar_t* image;
};

TEST_F(ButtonTest, EachStateShowsItsImage) {
    const StateRow rows[] = {
        {"normal", [](CHeadlessHost&, POINT) {}, L"normal.bmp"},
        {"hot", [](CHeadlessHost& h, POINT c) { h.Move(c); }, L"hot.bmp"},
    };
    for (const StateRow& row : rows) {
        CElementButton* b = Make();
        row.drive(*host, Centre(b));
        EXPECT_EQ(SkinPixel(row.image), WindowPixel(POINT{kButtonRect.left + 4, kButtonRect.top + 12})) << row.name;
        host->Window().RemoveElement(b);
    }
}

TEST_F(ButtonTest, NullTextIsRefusedAndANullFontClearsTheCaptionFont) {
    CElementButton* b = Make();
    ASSERT_NE(nullptr, b->m_pFont);
    EXPECT_FALSE(b->SetButtonText(nullptr, nullptr, 0));
    EXPECT_NE(nullptr, b->m_pFont) << "a refused call changes nothing";
    EXPECT_TRUE(b->SetButtonText(L"Sell", nullptr, DT_LEFT));
    EXPECT_EQ(nullptr, b->m_pFont);
    EXPECT_EQ(UINT(DT_LEFT), b->m_nFormat);
}

}  // namespace
