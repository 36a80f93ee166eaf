// Shared by the scrollbar tests: a palette of solid-colour skin pieces whose every
// frame has its own colour (so a pixel tells which piece and frame painted it), and a
// fixture that places a bar in a headless host on the virtual clock.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "frame/HostServices.h"
#include "host_fixture.h"
#include "pixels.h"
#include "scrollbar/HorizontalScrollbar.h"
#include "scrollbar/VerticalScrollbar.h"
#include "win32/runtime_ext.h"

namespace st {

// ---- colours of the test skin (state s = frame s) ------------------------------------------
constexpr auto UpColor = [](int s) { return RGB(250, 10 + 40 * s, 0); };
constexpr auto DownColor = [](int s) { return RGB(0, 10 + 40 * s, 250); };
const COLORREF kSpanColor = RGB(0, 250, 0);
constexpr auto HeadColor = [](int s) { return RGB(250, 250, 10 + 40 * s); };
constexpr auto BodyColor = [](int s) { return RGB(10 + 40 * s, 250, 250); };
constexpr auto EdgeColor = [](int s) { return RGB(250, 10 + 40 * s, 250); };  // the body's closing row/column
constexpr auto GripColor = [](int s) { return RGB(200 - 40 * s, 200 - 40 * s, 200 - 40 * s); };
const COLORREF kTipColor = RGB(90, 0, 0);  // every piece of the one-frame sets: own shade
const COLORREF kTipSpan = RGB(0, 90, 0);
const COLORREF kTipHead = RGB(90, 90, 0);
const COLORREF kTipBody = RGB(0, 90, 90);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kHostBackground = RGB(24, 27, 33);  // CHostWindow's default

// Sizes of the test skin: arrows 12 x 12, vertical head 20 high (the minimum thumb
// length), body 2, grip 6; horizontal head 3 wide, body 2, grip frames 12 x 12.
const int kArrow = 12, kHead = 20, kBody = 2, kGrip = 6, kHHead = 3, kHBody = 2;
// One-frame sets: arrows 8 x 8, head 24 long (longer than set 0's minimum), body 4.
const int kTipArrow = 8, kTipHeadLen = 24, kTipBodyLen = 4;

class TestPalette : public CSWPalette {
public:
    COLORREF GetColor(const wchar_t*) override { return 0; }
    CFont* GetFont(const wchar_t*) override { return nullptr; }
    CBitmap* GetBitmap(const wchar_t* key) override {
        asked.push_back(key);
        auto it = bitmaps.find(key);
        return it == bitmaps.end() ? nullptr : it->second.get();
    }
    void Add(const std::wstring& key, int cx, int cy, const std::function<COLORREF(int x, int y)>& pixel) {
        auto holder = std::make_unique<CBitmap>();
        holder->Attach(kt::PaintedBitmap(cx, cy, pixel));
        bitmaps[key] = std::move(holder);
    }
    void Remove(const std::wstring& key) { bitmaps.erase(key); }

    std::map<std::wstring, std::unique_ptr<CBitmap>> bitmaps;
    std::vector<std::wstring> asked;
};

// Vertical sets 0 and 1, horizontal sets 0 and 1, in the layouts the bars read.
inline void FillTestSkin(TestPalette& p) {
    auto side_by_side = [](COLORREF (*color)(int), int frame) {
        return [color, frame](int x, int) { return color(x / frame); };
    };
    p.Add(L"scroll_bar.UpArrow", 3 * kArrow, kArrow, side_by_side(UpColor, kArrow));
    p.Add(L"scroll_bar.DownArrow", 3 * kArrow, kArrow, side_by_side(DownColor, kArrow));
    p.Add(L"scroll_bar.VSPAN", kArrow, 4, [](int, int) { return kSpanColor; });
    p.Add(L"scroll_bar.VThumb1", 3 * kArrow, kHead, side_by_side(HeadColor, kArrow));
    p.Add(L"scroll_bar.VThumb2", 3 * kArrow, kBody,
          [](int x, int y) { return y == kBody - 1 ? EdgeColor(x / kArrow) : BodyColor(x / kArrow); });
    p.Add(L"scroll_bar.bot", 3 * kArrow, kGrip, side_by_side(GripColor, kArrow));
    p.Add(L"scroll_bar.UpArrowTip", kTipArrow, kTipArrow, [](int, int) { return kTipColor; });
    p.Add(L"scroll_bar.DownArrowTip", kTipArrow, kTipArrow, [](int, int) { return kTipColor; });
    p.Add(L"scroll_bar.VSPANTip", kTipArrow, 4, [](int, int) { return kTipSpan; });
    p.Add(L"scroll_bar.VThumbTip1", kTipArrow - 2, kTipHeadLen, [](int, int) { return kTipHead; });
    p.Add(L"scroll_bar.VThumbTip2", kTipArrow - 2, kTipBodyLen, [](int, int) { return kTipBody; });

    p.Add(L"scroll_bar.LeftArrow", 3 * kArrow, kArrow, side_by_side(UpColor, kArrow));
    p.Add(L"scroll_bar.RightArrow", 3 * kArrow, kArrow, side_by_side(DownColor, kArrow));
    p.Add(L"scroll_bar.HSPAN", 4, kArrow, [](int, int) { return kSpanColor; });
    p.Add(L"scroll_bar.HThumb1", kHHead, 3 * kArrow, [](int, int y) { return HeadColor(y / kArrow); });
    p.Add(L"scroll_bar.HThumb2", kHBody, 3 * kArrow,
          [](int x, int y) { return x == kHBody - 1 ? EdgeColor(y / kArrow) : BodyColor(y / kArrow); });
    p.Add(L"scroll_bar.HBot", 3 * kArrow, kArrow, side_by_side(GripColor, kArrow));
    p.Add(L"scroll_bar.LeftArrow_2", kTipArrow, kTipArrow, [](int, int) { return kTipColor; });
    p.Add(L"scroll_bar.RightArrow_2", kTipArrow, kTipArrow, [](int, int) { return kTipColor; });
    p.Add(L"scroll_bar.HSPAN_2", 4, kTipArrow, [](int, int) { return kTipSpan; });
    p.Add(L"scroll_bar.HThumb1_2", kTipHeadLen, kTipArrow - 2, [](int, int) { return kTipHead; });
    p.Add(L"scroll_bar.HThumb2_2", kTipBodyLen, kTipArrow - 2, [](int, int) { return kTipBody; });
}

// A host window with the test palette in the environment. Bars are placed at
// kOrigin in the window, so window = element + kOrigin.
class ScrollTest : public ::testing::Test {
protected:
    static constexpr POINT kOrigin{10, 20};

    void SetUp() override {
        palette_ = new TestPalette;
        palette_->AddRef();
        FillTestSkin(*palette_);
        host_ = std::make_unique<CHeadlessHost>(SIZE{240, 200});
        CGlobalEnv::GetGlobalEnv()->SetSkinPalette(palette_);
    }
    void TearDown() override {
        host_.reset();
        CComPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
        if (env->GetSkinPalette() == static_cast<IUnknown*>(palette_)) env->SetSkinPalette(nullptr);
        palette_->Release();
    }

    // A bar of the given extent placed at kOrigin (the host holds it).
    CVerticalScrollbar* AddVertical(int length, int thickness = kArrow) {
        auto* bar = new CVerticalScrollbar;
        EXPECT_TRUE(host_->Add(bar, L"v", RECT{kOrigin.x, kOrigin.y, kOrigin.x + thickness, kOrigin.y + length}));
        return bar;
    }
    CHorizontalScrollbar* AddHorizontal(int length, int thickness = kArrow) {
        auto* bar = new CHorizontalScrollbar;
        EXPECT_TRUE(host_->Add(bar, L"h", RECT{kOrigin.x, kOrigin.y, kOrigin.x + length, kOrigin.y + thickness}));
        return bar;
    }

    // The same with N, P and the position set, as most tests start.
    CVerticalScrollbar* AddVertical(int length, int rows, int page, int pos) {
        CVerticalScrollbar* bar = AddVertical(length);
        bar->SetRowNumber(rows);
        bar->SetPageSize(page);
        bar->UpdateThumbPos(pos);
        return bar;
    }
    CHorizontalScrollbar* AddHorizontal(int length, int columns, int page, int pos) {
        CHorizontalScrollbar* bar = AddHorizontal(length);
        bar->SetColumnNumber(columns);
        bar->SetPageSize(page);
        bar->UpdateThumbPos(pos);
        return bar;
    }

    static POINT Win(POINT element_pt) { return POINT{element_pt.x + kOrigin.x, element_pt.y + kOrigin.y}; }
    void Press(POINT element_pt) {
        host_->Move(Win(element_pt));
        host_->Down(Win(element_pt));
    }
    void Release(POINT element_pt) { host_->Up(Win(element_pt)); }

public:
    // A pixel of the element at element coordinates.
    static COLORREF At(const kt::Image& img, int x, int y) { return img.at(x + kOrigin.x, y + kOrigin.y); }

protected:
    // Positions posted since the last call as "ms:position ...", the times from `since`.
    std::string TakePosts(UINT msg, DWORD since) {
        std::string posts;
        auto& queue = host_->Window().ControlMessages();
        for (const ControlMessage& cm : queue)
            if (cm.msg == msg)
                posts += (posts.empty() ? "" : " ") + std::to_string(cm.time - since) + ":" + std::to_string(cm.lParam);
        queue.clear();
        return posts;
    }

    kt::Image Shot() { return kt::Shot(*host_); }

    TestPalette* palette_ = nullptr;
    std::unique_ptr<CHeadlessHost> host_;
};

}  // namespace st
