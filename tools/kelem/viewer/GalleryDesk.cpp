// Gallery page of the whole desk the viewer shows: as it opens, and after a session of
// use (a tab chosen from a menu, the grid scrolled both ways, a tab selected, the
// pointer resting on a push button).
#include "button/ElementButton.h"
#include "scrollbar/HorizontalScrollbar.h"
#include "scrollbar/VerticalScrollbar.h"
#include "tabcontrol/ElementTabControl.h"
#include "tools/kelem/Gallery.h"
#include "tools/kelem/viewer/Desk.h"

namespace kelem {

void GalleryDesk(Gallery& gallery) {
    gallery.Section("Desk");
    const DeskLayout layout;
    {
        auto host = gallery.Scene(layout.size);
        Desk desk(*host);
        gallery.Shot(*host, "desk", "The viewer's desk as it opens");
    }
    {
        auto host = gallery.Scene(layout.size);
        Desk desk(*host);
        desk.TopStrip()->OnMenuCommand(202);     // Futures -> SHFE
        desk.BottomStrip()->OnMenuCommand(412);  // Watchlist -> Recent -> This week
        desk.VScroll()->UpdateThumbPos(23);
        desk.Grid()->SetTopRow(23);
        desk.HScroll()->UpdateThumbPos(3);
        desk.Grid()->SetLeftColumn(3);
        const RECT tab = desk.TabRect(desk.TopStrip(), 4);
        host->Down(POINT{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
        host->Up(POINT{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
        const RECT& button = desk.PushButton(1)->HostState()->rcContainer;
        host->Move(POINT{(button.left + button.right) / 2, (button.top + button.bottom) / 2});
        gallery.Shot(*host, "desk-used",
                     "After use: Futures renamed SHFE from its menu, Watchlist renamed from a sub-menu, the grid "
                     "scrolled to row 23 and column 3, HK Main selected, the pointer on Sell");
    }
}

}  // namespace kelem
