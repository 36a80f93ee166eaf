// Gallery page of the scrollbars: both bars in every skin set with the thumb at the
// start, the middle and the end; for the three-frame sets also a hot arrow, a pressed
// arrow and a pressed thumb; and a bar whose page holds every row (P >= N).
#include "scrollbar/HorizontalScrollbar.h"
#include "scrollbar/VerticalScrollbar.h"
#include "tools/kelem/Gallery.h"

namespace kelem {
namespace {

const int kRows = 100, kPage = 10, kBarLength = 120, kMargin = 8;

enum class Drive { None, HotFirstArrow, PressSecondArrow, PressThumb };

struct BarShot {
    const char* name;
    const char* label;
    int rows, page, pos;
    Drive drive;
};

const BarShot kPositions[] = {
    {"start", "thumb at the start", kRows, kPage, 0, Drive::None},
    {"middle", "thumb in the middle (position 45 of 90)", kRows, kPage, 45, Drive::None},
    {"end", "thumb at the end (position N - P)", kRows, kPage, kRows - kPage, Drive::None},
};

const BarShot kStates[] = {
    {"hot-arrow", "pointer over the first arrow: hot frame", kRows, kPage, 30, Drive::HotFirstArrow},
    {"pressed-arrow", "second arrow held: pressed frame", kRows, kPage, 30, Drive::PressSecondArrow},
    {"pressed-thumb", "thumb held: pressed frames of head, body and grip", kRows, kPage, 30, Drive::PressThumb},
};

const BarShot kWholePage = {"page-holds-all", "P >= N (12 rows, page of 20)", 12, 20, 0, Drive::None};

// Points in window coordinates of the bar placed at (kMargin, kMargin).
POINT Window(POINT element_pt) {
    return POINT{element_pt.x + kMargin, element_pt.y + kMargin};
}

void ShootVertical(Gallery& gallery, int set, const BarShot& shot) {
    auto host = gallery.Scene(SIZE{40, kBarLength + 2 * kMargin});
    auto* bar = new CVerticalScrollbar;
    bar->AddRef();  // ours while we drive it
    host->Add(bar, L"vscroll", RECT{kMargin, kMargin, kMargin + 12, kMargin + kBarLength});
    bar->InitVScrollBar(set);
    const int width = bar->m_nArrowWidth, A = bar->m_nArrowHeight;
    host->Window().PlaceElement(bar, RECT{kMargin, kMargin, kMargin + width, kMargin + kBarLength});
    bar->SetRowNumber(shot.rows);
    bar->SetPageSize(shot.page);
    bar->UpdateThumbPos(shot.pos);
    const int thumb_mid = bar->m_nThumbPos + bar->m_nThumbLength / 2;
    switch (shot.drive) {
        case Drive::HotFirstArrow:
            host->Move(Window(POINT{width / 2, A / 2}));
            break;
        case Drive::PressSecondArrow:
            host->Move(Window(POINT{width / 2, kBarLength - A / 2}));
            host->Down(Window(POINT{width / 2, kBarLength - A / 2}));
            break;
        case Drive::PressThumb:
            host->Move(Window(POINT{width / 2, thumb_mid}));
            host->Down(Window(POINT{width / 2, thumb_mid}));
            break;
        case Drive::None:
            break;
    }
    gallery.Shot(*host, "v" + std::to_string(set) + "-" + shot.name,
                 "Vertical set " + std::to_string(set) + ": " + shot.label);
    bar->Release();
}

void ShootHorizontal(Gallery& gallery, int set, const BarShot& shot) {
    auto host = gallery.Scene(SIZE{kBarLength + 2 * kMargin, 32});
    auto* bar = new CHorizontalScrollbar;
    bar->AddRef();
    host->Add(bar, L"hscroll", RECT{kMargin, kMargin, kMargin + kBarLength, kMargin + 12});
    bar->InitHScrollBar(set);
    const int height = bar->m_nArrowHeight, A = bar->m_nArrowWidth;
    host->Window().PlaceElement(bar, RECT{kMargin, kMargin, kMargin + kBarLength, kMargin + height});
    bar->SetColumnNumber(shot.rows);
    bar->SetPageSize(shot.page);
    bar->UpdateThumbPos(shot.pos);
    const int thumb_mid = bar->m_nThumbPos + bar->m_nThumbLength / 2;
    switch (shot.drive) {
        case Drive::HotFirstArrow:
            host->Move(Window(POINT{A / 2, height / 2}));
            break;
        case Drive::PressSecondArrow:
            host->Move(Window(POINT{kBarLength - A / 2, height / 2}));
            host->Down(Window(POINT{kBarLength - A / 2, height / 2}));
            break;
        case Drive::PressThumb:
            host->Move(Window(POINT{thumb_mid, height / 2}));
            host->Down(Window(POINT{thumb_mid, height / 2}));
            break;
        case Drive::None:
            break;
    }
    gallery.Shot(*host, "h" + std::to_string(set) + "-" + shot.name,
                 "Horizontal set " + std::to_string(set) + ": " + shot.label);
    bar->Release();
}

}  // namespace

void GalleryScrollbars(Gallery& gallery) {
    gallery.Section("Vertical scrollbar");
    for (int set = 0; set <= 5; ++set) {
        for (const BarShot& shot : kPositions) ShootVertical(gallery, set, shot);
        if (set == 1 || set == 2) continue;  // one-frame sets have no state frames
        for (const BarShot& shot : kStates) ShootVertical(gallery, set, shot);
    }
    ShootVertical(gallery, 0, kWholePage);

    gallery.Section("Horizontal scrollbar");
    for (int set = 0; set <= 4; ++set) {
        for (const BarShot& shot : kPositions) ShootHorizontal(gallery, set, shot);
        if (set == 1) continue;
        for (const BarShot& shot : kStates) ShootHorizontal(gallery, set, shot);
    }
    ShootHorizontal(gallery, 0, kWholePage);
}

}  // namespace kelem
