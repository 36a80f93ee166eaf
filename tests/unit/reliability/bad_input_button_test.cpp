// Bad inputs for the push button.
#include "bad_input.h"
#include "button/ElementButton.h"

namespace {

using rel::BadInput;
using rel::kAnyResult;
using rel::LongText;

// DrawBitmap onto a small memory DC with the given rectangle.
long long DrawAt(CElementButton* b, CRect rc, bool with_bitmap) {
    kt::Surface target(16, 16);
    CBitmap* bmp = with_bitmap ? GetEnvBitmapFactory()->GetFolderBitmap(L"button", L"normal.bmp") : nullptr;
    CLightCanvas canvas(CDC::FromHandle(target.dc()));
    return b->DrawBitmap(canvas, bmp, rc);
}

const std::vector<BadInput<CElementButton>>& ButtonRows() {
    using B = CElementButton;
    static const std::vector<BadInput<B>> rows = {
        {"InitBtn negative ID",
         [](CElementButton* b) { return b->InitBtn(-1, RGB(1, 2, 3), L"button", L"normal.bmp"); }, FALSE, true},
        {"InitBtn null folder and file", [](CElementButton* b) { return b->InitBtn(3, 0, nullptr, nullptr); }, TRUE,
         false},
        {"InitBtn unknown file", [](CElementButton* b) { return b->InitBtn(3, 0, L"button", L"nope.bmp"); }, TRUE,
         false},
        {"InitBtn escaping folder", [](CElementButton* b) { return b->InitBtn(3, 0, L"../..", L"etc/passwd"); }, TRUE,
         false},
        {"SetButtonText null", [](CElementButton* b) { return b->SetButtonText(nullptr, nullptr, 0); }, FALSE, true},
        {"SetButtonText long", [](CElementButton* b) { return b->SetButtonText(LongText(), b->m_pFont, b->m_nFormat); },
         TRUE, false},
        {"SetButtonText lone surrogate",
         [](CElementButton* b) { return b->SetButtonText(L"\xD800x\xDFFF", b->m_pFont, b->m_nFormat); }, TRUE, false},
        {"SetImage null folder",
         [](CElementButton* b) { return b->SetImage(nullptr, L"normal.bmp", nullptr, nullptr, nullptr); }, FALSE, true},
        {"SetImage null normal",
         [](CElementButton* b) { return b->SetImage(L"button", nullptr, L"hot.bmp", nullptr, nullptr); }, FALSE, true},
        {"SetImage long names",
         [](CElementButton* b) { return b->SetImage(LongText(), LongText(), LongText(), LongText(), LongText()); },
         TRUE, false},
        {"DrawBitmap null bitmap", [](CElementButton* b) { return DrawAt(b, CRect(0, 0, 16, 16), false); }, TRUE, true},
        {"DrawBitmap extreme rectangle",
         [](CElementButton* b) { return DrawAt(b, CRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX), true); }, TRUE, true},
        {"DrawBitmap inverted extreme rectangle",
         [](CElementButton* b) { return DrawAt(b, CRect(INT_MAX, INT_MAX, INT_MIN, INT_MIN), true); }, TRUE, true},
    };
    return rows;
}

class ButtonBadInputTest : public rel::ReliabilityTest {
protected:
    CElementButton* Make() {
        auto* b = new CElementButton;
        EXPECT_TRUE(host->Add(b, L"b", RECT{20, 20, 116, 44}, 7));
        b->InitBtn(7, RGB(10, 20, 30), L"button", L"normal.bmp");
        b->SetImage(L"button", L"normal.bmp", L"hot.bmp", L"down.bmp", L"disable.bmp");
        b->SetButtonText(L"Buy", b->m_pFont, b->m_nFormat);
        host->Pump();
        return b;
    }
};

TEST_F(ButtonBadInputTest, EveryRowAnswersAsSpecifiedAndKeepsWorking) {
    RunRows(
        ButtonRows(), [this] { return Make(); }, "button");
    RecordProperty("bad_inputs", int(ButtonRows().size()));
}

TEST_F(ButtonBadInputTest, RefusedInitBtnKeepsTheClickID) {
    CElementButton* b = Make();
    EXPECT_FALSE(b->InitBtn(-5, 0, nullptr, nullptr));
    const POINT centre = Centre(b);
    host->Move(centre);
    host->Down(centre);
    host->Up(centre);
    const std::vector<kt::Posted> posted = TakePosted();
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(1334u, posted[0].msg);
    EXPECT_EQ(7, posted[0].wParam);
    Release(b);
}

}  // namespace
