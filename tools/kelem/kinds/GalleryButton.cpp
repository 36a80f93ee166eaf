#include "button/ElementButton.h"
#include "frame/HostServices.h"
#include "tools/kelem/Gallery.h"

namespace kelem {
namespace {

struct ButtonScene {
    const char* name;
    const char* label;
    const wchar_t* caption;
    bool disabled;
    void (*drive)(CHeadlessHost& host, POINT centre);
};

CElementButton* MakeButton(CHeadlessHost& host, const ButtonScene& scene) {
    auto* button = new CElementButton;
    host.Add(button, L"button", RECT{16, 8, 112, 32});
    CComPtr<CSWPalette> palette = GetEnvSkinPalette();
    button->InitBtn(1, CLR_INVALID, nullptr, nullptr);
    button->SetImage(L"button", L"normal.bmp", L"hot.bmp", L"down.bmp", L"disable.bmp");
    // A non-null font keeps the palette's caption font.
    button->SetButtonText(scene.caption, palette ? palette->GetFont(L"QuoteTab.Button") : nullptr,
                          DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    if (palette) {
        button->SetTextColor(palette->GetColor(L"Button.Text"));
        button->SetTextHotColor(palette->GetColor(L"Button.TextHot"));
    }
    button->SetBtnDisable(scene.disabled);
    return button;
}

}  // namespace

void GalleryButtons(Gallery& gallery) {
    static const ButtonScene scenes[] = {
        {"normal", "Normal", L"Buy", false, [](CHeadlessHost&, POINT) {}},
        {"hot", "Hot: the pointer is over it", L"Buy", false, [](CHeadlessHost& h, POINT c) { h.Move(c); }},
        {"pressed", "Pressed: the left button is held", L"Buy", false,
         [](CHeadlessHost& h, POINT c) {
             h.Move(c);
             h.Down(c);
         }},
        {"disabled", "Disabled", L"Buy", true, [](CHeadlessHost&, POINT) {}},
        {"focus", "Focus frame after a click, pointer gone", L"Buy", false,
         [](CHeadlessHost& h, POINT c) {
             h.Move(c);
             h.Down(c);
             h.Up(c);
             h.Leave();
         }},
        {"ellipsis", "A long caption ends in an ellipsis", L"Cancel all open orders", false,
         [](CHeadlessHost&, POINT) {}},
    };
    gallery.Section("Button");
    for (const ButtonScene& scene : scenes) {
        auto host = gallery.Scene(SIZE{128, 40});
        MakeButton(*host, scene);
        scene.drive(*host, POINT{64, 20});
        gallery.Shot(*host, scene.name, scene.label);
    }
}

}  // namespace kelem
