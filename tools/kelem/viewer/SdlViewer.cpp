// The viewer's SDL2 front end: a window that shows the runtime's screen (scaled by an
// integer factor, nearest-neighbour), and the runtime's message loop on the real clock
// fed from SDL's events. The same wait hook feeds the program's own loop and the nested
// loop of a tracked popup menu, so menus answer to the pointer and keys like the desk.
//
// Index
//   1. The window and the picture
//   2. Input: SDL events to runtime messages and viewer keys
//   3. The wait hook and the message loop
#include <SDL.h>

#include <algorithm>
#include <map>
#include <vector>

#include "tools/kelem/viewer/Viewer.h"
#include "win32/runtime_ext.h"

namespace kelem {
namespace {

class SdlFrontEnd {
public:
    SdlFrontEnd(ViewerSession& session, std::ostream& err) : session_(session), err_(err) {}
    ~SdlFrontEnd();
    bool Open();
    bool Wait(DWORD timeout_ms);  // the runtime's message wait hook
    // Between two messages: the input that arrived meanwhile, and a fresh picture now and
    // then. While timers are due back to back (auto-repeat on a slow build) the queue is
    // never empty and the wait hook never runs; input must not wait for that.
    void Poll();
    bool Quit() const { return quit_; }

private:
    void Present(bool force = false);  // skipped when the picture did not change
    void UpdateCursor();
    bool Translate(const SDL_Event& e);  // true when something happened the loop must see
    bool TranslateKey(const SDL_KeyboardEvent& key);
    POINT Logical(int window_x, int window_y) const;

    ViewerSession& session_;
    std::ostream& err_;
    SDL_Window* window_ = nullptr;
    std::map<int, SDL_Cursor*> cursors_;
    int cursorId_ = -1;
    WPARAM keys_ = 0;  // MK_ bits as the pointer messages carry them
    bool quit_ = false;
    bool exposed_ = false;
    std::vector<uint8_t> shown_;  // the picture on the window now
    Uint32 presented_ = 0;        // SDL_GetTicks of the last picture
};

// ---- 1. The window and the picture --------------------------------------------------------------
SdlFrontEnd::~SdlFrontEnd() {
    for (auto& [id, cursor] : cursors_) SDL_FreeCursor(cursor);
    if (window_) SDL_DestroyWindow(window_);
    SDL_Quit();
}

bool SdlFrontEnd::Open() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        err_ << "kelem view: cannot start SDL: " << SDL_GetError() << "\n";
        return false;
    }
    const SIZE screen = session_.ScreenSize();
    const int scale = session_.Scale();
    window_ = SDL_CreateWindow("kelem view", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, screen.cx * scale,
                               screen.cy * scale, SDL_WINDOW_SHOWN);
    if (!window_) {
        err_ << "kelem view: cannot open a window: " << SDL_GetError() << "\n";
        return false;
    }
    return true;
}

void SdlFrontEnd::Present(bool force) {
    presented_ = SDL_GetTicks();
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    HBITMAP shot = session_.CaptureScaled();
    BITMAP bm{};
    if (target && shot && ::GetObjectW(shot, sizeof bm, &bm) && bm.bmBits) {
        const auto* bits = static_cast<const uint8_t*>(bm.bmBits);
        const size_t size = size_t(bm.bmWidthBytes) * size_t(bm.bmHeight);
        if (!force && shown_.size() == size && std::equal(bits, bits + size, shown_.begin())) {
            ::DeleteObject(shot);
            return;
        }
        shown_.assign(bits, bits + size);
        // 0x00RRGGBB rows: SDL's RGB888.
        SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormatFrom(bm.bmBits, bm.bmWidth, bm.bmHeight, 32,
                                                                  bm.bmWidthBytes, SDL_PIXELFORMAT_RGB888);
        if (picture) {
            SDL_BlitSurface(picture, nullptr, target, nullptr);
            SDL_FreeSurface(picture);
            SDL_UpdateWindowSurface(window_);
        }
    }
    if (shot) ::DeleteObject(shot);
}

void SdlFrontEnd::UpdateCursor() {
    const int id = rt::CursorId(::GetCursor());
    if (id == cursorId_) return;
    cursorId_ = id;
    static const std::map<int, SDL_SystemCursor> kSystem = {
        {32512, SDL_SYSTEM_CURSOR_ARROW},     {32513, SDL_SYSTEM_CURSOR_IBEAM},    {32514, SDL_SYSTEM_CURSOR_WAIT},
        {32515, SDL_SYSTEM_CURSOR_CROSSHAIR}, {32642, SDL_SYSTEM_CURSOR_SIZENWSE}, {32643, SDL_SYSTEM_CURSOR_SIZENESW},
        {32644, SDL_SYSTEM_CURSOR_SIZEWE},    {32645, SDL_SYSTEM_CURSOR_SIZENS},   {32646, SDL_SYSTEM_CURSOR_SIZEALL},
        {32648, SDL_SYSTEM_CURSOR_NO},        {32649, SDL_SYSTEM_CURSOR_HAND},
    };
    auto it = kSystem.find(id);
    const SDL_SystemCursor system = it == kSystem.end() ? SDL_SYSTEM_CURSOR_ARROW : it->second;
    SDL_Cursor*& cursor = cursors_[int(system)];
    if (!cursor) cursor = SDL_CreateSystemCursor(system);
    if (cursor) SDL_SetCursor(cursor);
}

// ---- 2. Input ------------------------------------------------------------------------------------------
POINT SdlFrontEnd::Logical(int window_x, int window_y) const {
    const int scale = session_.Scale();
    return POINT{window_x / scale, window_y / scale};  // the host window sits at the screen's origin
}

bool SdlFrontEnd::TranslateKey(const SDL_KeyboardEvent& key) {
    const bool down = key.type == SDL_KEYDOWN;
    const WPARAM modifier = key.keysym.sym == SDLK_LSHIFT || key.keysym.sym == SDLK_RSHIFT ? MK_SHIFT
                            : key.keysym.sym == SDLK_LCTRL || key.keysym.sym == SDLK_RCTRL ? MK_CONTROL
                                                                                           : 0;
    if (modifier) keys_ = down ? keys_ | modifier : keys_ & ~modifier;
    if (!down) return false;
    const bool ctrl = (key.keysym.mod & KMOD_CTRL) != 0;
    switch (key.keysym.sym) {
        case SDLK_F2:
            session_.ToggleInspector();
            return true;
        case SDLK_F5:
            session_.ReloadSkin();
            return true;
        case SDLK_F6:
            session_.SwitchSkin();
            return true;
        case SDLK_s:
            if (ctrl) session_.SavePng();
            return ctrl;
        case SDLK_q:
            if (ctrl) quit_ = true;
            return ctrl;
        default:
            break;
    }
    // Keys a popup menu answers to; the desk's elements take none.
    static const std::map<SDL_Keycode, WPARAM> kMenuKeys = {
        {SDLK_ESCAPE, VK_ESCAPE}, {SDLK_RETURN, VK_RETURN}, {SDLK_UP, VK_UP},
        {SDLK_DOWN, VK_DOWN},     {SDLK_LEFT, VK_LEFT},     {SDLK_RIGHT, VK_RIGHT},
    };
    auto it = kMenuKeys.find(key.keysym.sym);
    return it != kMenuKeys.end() && rt::InjectKey(WM_KEYDOWN, it->second, 1);
}

bool SdlFrontEnd::Translate(const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT:
            quit_ = true;
            return true;
        case SDL_MOUSEMOTION: {
            const POINT pt = Logical(e.motion.x, e.motion.y);
            session_.SetPointer(pt);
            rt::InjectMouse(WM_MOUSEMOVE, pt, keys_);
            return true;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const bool down = e.type == SDL_MOUSEBUTTONDOWN;
            const bool left = e.button.button == SDL_BUTTON_LEFT;
            if (!left && e.button.button != SDL_BUTTON_RIGHT) return false;
            const WPARAM bit = left ? MK_LBUTTON : MK_RBUTTON;
            keys_ = down ? keys_ | bit : keys_ & ~bit;
            const UINT msg = left ? (down ? WM_LBUTTONDOWN : WM_LBUTTONUP) : (down ? WM_RBUTTONDOWN : WM_RBUTTONUP);
            rt::InjectMouse(msg, Logical(e.button.x, e.button.y), keys_);
            return true;
        }
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_LEAVE && !(keys_ & (MK_LBUTTON | MK_RBUTTON))) {
                // As the system does: park the pointer off every window, tell the host.
                ::SetCursorPos(-10000, -10000);
                ::PostMessageW(session_.Host().Window().GetSafeHwnd(), WM_MOUSELEAVE, 0, 0);
                return true;
            }
            if (e.window.event == SDL_WINDOWEVENT_EXPOSED) {
                if (!exposed_) session_.Note("window shown");  // from now on it takes input
                exposed_ = true;
                Present(true);
            }
            return false;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            return TranslateKey(e.key);
        default:
            return false;
    }
}

// ---- 3. The wait hook and the message loop -----------------------------------------------------------
// Called when the runtime's queue is empty: shows the picture, then waits for SDL input
// until the next timer is due. It returns early on input; the picture (and the
// inspector, which follows the pointer) is refreshed at least every 100 ms meanwhile.
bool SdlFrontEnd::Wait(DWORD timeout_ms) {
    const Uint32 start = SDL_GetTicks();
    for (;;) {
        session_.Refresh();
        Present();
        UpdateCursor();
        const Uint32 waited = SDL_GetTicks() - start;
        if (timeout_ms != rt::kNoTimerDue && waited >= timeout_ms) return true;
        const Uint32 slice = timeout_ms == rt::kNoTimerDue ? 100 : std::min<Uint32>(100, timeout_ms - waited);
        SDL_Event e;
        if (!SDL_WaitEventTimeout(&e, int(slice))) {
            if (timeout_ms == rt::kNoTimerDue) return true;  // the runtime asks again at once
            continue;
        }
        bool happened = Translate(e);
        while (!quit_ && SDL_PollEvent(&e)) happened = Translate(e) || happened;
        if (quit_) return false;
        if (happened) return true;
    }
}

void SdlFrontEnd::Poll() {
    SDL_Event e;
    while (!quit_ && SDL_PollEvent(&e)) Translate(e);
    if (SDL_GetTicks() - presented_ >= 40) {
        session_.Refresh();
        Present();
    }
}

}  // namespace

int RunViewer(const ViewerOptions& options, std::ostream& err) {
    rt::UseRealClock();  // auto-repeat and every other timer run at their real pace
    ViewerSession session(options);
    SdlFrontEnd front(session, err);
    if (!front.Open()) return 1;
    rt::SetMessageWaitHook([&front](DWORD timeout_ms) { return front.Wait(timeout_ms); });
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
        front.Poll();
        if (front.Quit()) break;
    }
    rt::SetMessageWaitHook(nullptr);
    session.Note("quit");
    return 0;
}

}  // namespace kelem
