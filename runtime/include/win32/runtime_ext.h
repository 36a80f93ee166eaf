// What the portable runtime offers beyond the Windows API: object accounting,
// the virtual screen, PNG/BMP files and the clock that drives timers. Hosts, tools
// and tests use these; element code never does.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "windef.h"
#include "wingdi.h"

namespace rt {

// ---- GDI object accounting ---------------------------------------------------------------
// Live, non-stock objects of one kind (OBJ_DC also counts memory DCs, OBJ_MEMDC only them).
int GdiObjectCount(DWORD objType);
// DCs, bitmaps, pens, brushes, fonts and regions together; -1 where the system cannot count
// them (on Windows: GetGuiResources not implemented, as under Wine).
int GdiObjectTotal();

// ---- the virtual screen ---------------------------------------------------------------------
void SetScreenSize(int cx, int cy);  // default 1280 x 800
SIZE GetScreenSize();

// ---- image files ------------------------------------------------------------------------------
// Reads a Windows .bmp into a 32-bit DIB section. On failure returns null and, when
// error is given, says what is wrong with the file.
HBITMAP LoadBmpFile(const std::string& path, std::string* error = nullptr);
HBITMAP LoadBmpMemory(const void* data, size_t size, std::string* error = nullptr);
// Writes a bitmap as a .bmp (24-bit, or 1-bit for monochrome bitmaps) or an 8-bit RGB PNG.
bool SaveBmpFile(HBITMAP bmp, const std::string& path, std::string* error = nullptr);
bool SavePngFile(HBITMAP bmp, const std::string& path, std::string* error = nullptr);
// The pixels of a rectangle of the screen (or of any bitmap) as a new bitmap.
HBITMAP CopyScreenRect(const RECT& rc);

// The header of a 32-bit BI_RGB DIB stored top-down: pixel (x, y) is the 0x00RRGGBB value
// bits[y * width + x]. The layout the image files, tools and tests exchange pixels in.
inline BITMAPINFO TopDown32(LONG width, LONG height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // negative: the first row is the top one
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

// ---- text runs ----------------------------------------------------------------------------
// Called, on the calling thread, after each text output made through the class library's
// CDC (TextOut, ExtTextOut, DrawText, DrawState with a text) with the DC and the cell the
// run occupies in its logical coordinates: its position and extent from GetTextExtentPoint32 (or the lpDx advances) and
// the text alignment; for DrawText the DT_CALCRECT rectangle placed by the format's
// alignment and clipped to the rectangle unless DT_NOCLIP. The same computation on every
// platform, so that two builds' cells can be compared. An empty hook ends the recording.
using TextRunHook = std::function<void(HDC hdc, const RECT& logical_cell)>;
void SetTextRunHook(TextRunHook hook);

// ---- windows: clock, timers, input, cursors (runtime/src/user) ------------------------------
// Two clocks drive GetTickCount, message times and timers. The virtual clock (the default)
// starts at 0 and moves only through AdvanceClock, so tests and scripts are deterministic.
// The real clock (UseRealClock) follows the monotonic system clock from the current time on,
// for interactive programs.
//
// AdvanceClock(ms) on the virtual clock: time moves forward to each due timer of the calling
// thread in due order (ties in creation order); at each due time that timer's WM_TIMER is
// dispatched at once (its TIMERPROC called, if any), then the messages posted so far, handler
// effects included, are dispatched, and the timer is rescheduled at due + interval. Finally
// the time becomes start + ms. Paint messages are not dispatched: they wait for the next
// message loop or UpdateWindow. On the real clock AdvanceClock does nothing.
//
// GetMessage with nothing to deliver: on the virtual clock it jumps the clock to the next due
// timer and returns its WM_TIMER; with no timer it returns -1 (nothing could ever arrive). On
// the real clock it calls the wait hook (if set) or sleeps until the next timer is due, and
// returns -1 when no timer exists and no hook is set.
void UseRealClock();
void UseVirtualClock();  // continues from the current time
bool IsRealClock();
void AdvanceClock(DWORD ms);
DWORD ClockNow();  // the same value as GetTickCount
constexpr DWORD kNoTimerDue = 0xFFFFFFFF;
DWORD NextTimerDue();  // clock time of the calling thread's next timer, or kNoTimerDue

// Called by GetMessage when its queue is empty, with the milliseconds until the next timer
// (kNoTimerDue for none). The hook may inject input; returning false makes GetMessage give up
// and return -1. An empty hook restores the default.
using MessageWaitHook = std::function<bool(DWORD timeout_ms)>;
void SetMessageWaitHook(MessageWaitHook hook);

// Dispatches everything the calling thread's queue can deliver right now: posted and input
// messages, then paints (timers are not due outside AdvanceClock on the virtual clock). Stops
// at WM_QUIT, leaving it queued. Returns the number of messages dispatched.
int PumpMessages();

// Input as the system would deliver it. Mouse messages go to the capture window, else to the
// visible, enabled window under the point; lParam carries client coordinates (screen ones for
// WM_MOUSEWHEEL, whose wParam is MAKEWPARAM(keys, delta)). Without capture, WM_SETCURSOR
// (wParam the window, lParam MAKELONG(HTCLIENT, msg)) is sent before every mouse message but
// the wheel. The message is posted, not dispatched. Moves the virtual pointer. Returns false
// when no window takes the message. On Windows, once a thread injects, the mouse messages the
// system makes itself for that thread (the move SetCursorPos queues, ...) are dropped.
bool InjectMouse(UINT msg, POINT screen_pt, WPARAM keys);
// Posts a keyboard message (WM_KEYDOWN, WM_KEYUP, WM_CHAR) to the focus window, else to the
// active window. Returns false when there is neither.
bool InjectKey(UINT msg, WPARAM wParam, LPARAM lParam = 0);

// The numeric id of a system cursor (32512 for IDC_ARROW, ...), 0 for null or other cursors.
int CursorId(HCURSOR cursor);

}  // namespace rt

// ---- popup menus (runtime/src/menu) -----------------------------------------------------------
// Tracking is modal: TrackPopupMenu returns when the menu has closed. Who answers a tracked
// popup is the embedder's choice, per thread: an answerer function (scripts and tests), or,
// without one, the pointer and keyboard through a nested message loop that ends the menu
// when no input can ever arrive (virtual clock and no message wait hook).
namespace rt {

int MenuObjectCount();       // live menus (made and not yet destroyed), every thread
int ImageListObjectCount();  // live image lists

// One item of a popup as it is shown.
struct MenuItemView {
    std::wstring text;  // as given, '&' prefixes and a tab-separated accelerator included
    UINT id = 0;        // the command id; for a sub-menu item, the sub-menu handle's value
    UINT type = 0;      // MFT_ bits (MFT_SEPARATOR, MFT_OWNERDRAW, MFT_MENUBREAK, ...)
    UINT state = 0;     // MFS_ bits (MFS_CHECKED, MFS_GRAYED, MFS_DISABLED = MF_DISABLED)
    HMENU subMenu = nullptr;
    ULONG_PTR data = 0;  // item data (owner-drawn items)
    RECT screen_rect{};
};

// One open popup: the tracked menu (level 0) or a sub-menu opened from it (level 1, ...).
struct MenuPopupView {
    HMENU menu = nullptr;
    HWND owner = nullptr;
    int level = 0;
    RECT screen_rect{};  // the popup's frame on the virtual screen
    std::vector<MenuItemView> items;
};

// The answer to one tracked popup.
struct MenuAnswer {
    bool dismiss = false;
    // The item to choose: its text ("Open"), a path through sub-menus ("Recent/File 1"), or
    // "#101" for the command id 101 (owner-drawn items have no text). Texts match as given
    // or as shown: '&' prefixes removed and the accelerator after a tab left out.
    std::wstring path;
    // Called once the popups along the path are open and the chosen item is highlighted
    // (for dismissing: with the tracked popup open), before the answer takes effect.
    std::function<void()> onShown;
};

// Called when a tracked popup has opened. Returns true with *answer filled, or false when it
// has no answer: the menu is then dismissed and the report says so. An empty function (the
// default) hands the menu to the interactive loop.
using MenuAnswerer = std::function<bool(const MenuPopupView& popup, MenuAnswer* answer)>;
void SetMenuAnswerer(MenuAnswerer answerer);

// Receives one line per popup shown (its items as shown) and one per answer; see
// DescribeMenuPopup for the item notation.
using MenuReportHook = std::function<void(const std::string& line)>;
void SetMenuReportHook(MenuReportHook hook);

// `menu (l, t, r, b): "Open" 101, "Recent" >, -, "Auto" 102 checked, "Gone" 103 grayed,
// || "More" 104`: items in order; `-` a separator, `>` a sub-menu, `|` before an item that
// starts a column (MF_MENUBREAK), `||` one that starts a column after a line
// (MF_MENUBARBREAK), `ownerdraw` an owner-drawn item. Sub-menus read `submenu (l, t, r, b): ...`.
std::string DescribeMenuPopup(const MenuPopupView& popup);

// The popups open on this thread, the tracked one first (empty when none is).
std::vector<MenuPopupView> OpenMenus();
// Paints the open popups again over whatever windows painted on the screen meanwhile.
void RedrawOpenMenus();

// ---- resources (runtime/src/res) --------------------------------------------------------------
// A module's resources come from resource scripts in the .rc syntax: MENU (POPUP, MENUITEM,
// MENUITEM SEPARATOR, options CHECKED GRAYED INACTIVE MENUBREAK MENUBARBREAK HELP), BITMAP
// "file.bmp" (relative to the script's folder), TOOLBAR cx, cy (BUTTON id, SEPARATOR),
// #define NAME value, numeric or symbolic ids, C escapes and "" in strings, // and /* */
// comments. A script with an error registers nothing; the error reads "file:line: what".
// #include "file" and BITMAP "file" name regular files inside the script's folder or, for
// what is not found there, inside the caller's include folders (in order); an absolute
// path, a way out through ".." or a symbolic link, a device or a FIFO is an error, and so
// is a file past the size limits (16 MiB for a script, 1 MiB for an included file).
struct ResourceScriptFolders {
    std::string base;                  // the script's folder; empty: the current one
    std::vector<std::string> include;  // searched after it
};
bool RegisterResourceScript(HINSTANCE module, const std::string& path, std::string* error = nullptr);
bool RegisterResourceScript(HINSTANCE module, const std::string& path, const std::vector<std::string>& include_dirs,
                            std::string* error);
// The same for script text; `name` stands for the file in errors.
bool RegisterResourceText(HINSTANCE module, const std::string& text, const std::string& name,
                          const ResourceScriptFolders& folders, std::string* error = nullptr);
inline bool RegisterResourceText(HINSTANCE module, const std::string& text, const std::string& name,
                                 const std::string& base_dir, std::string* error = nullptr) {
    return RegisterResourceText(module, text, name, ResourceScriptFolders{base_dir, {}}, error);
}
// Forgets every resource of a module (null: of every module).
void UnregisterResources(HINSTANCE module);

}  // namespace rt
