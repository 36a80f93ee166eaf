// The scenario verbs for popup menus and the scripted answerer of a run.
//
//   menu "TEXT" [snapshot FILE.png]    choose the item with that text in the next popup that
//                                      opens ("Sub/Item" through sub-menus, "#101" by id)
//   menu cancel [snapshot FILE.png]    dismiss the next popup
//
// Answers queue in the run's state and are used in order, one per tracked popup. A popup
// that opens with none queued is dismissed. Each popup prints `t=.. menu (l, t, r, b): ...`
// (and `submenu ...` for sub-menus opened on the way), then a line for the answer; with
// snapshot, the picture (the host window and the open popups) is written before the answer
// takes effect and `t=.. snapshot FILE` is printed.
#include <deque>

#include "utf8.h"
#include "tools/kelem/kinds/Kinds.h"
#include "win32/runtime_ext.h"

namespace kelem {
namespace {

struct MenuQueue {
    std::deque<rt::MenuAnswer> answers;
    std::string outDir;
    std::function<void(const std::string&)> line;  // writes a transcript line
};

using MenuQueuePtr = std::shared_ptr<MenuQueue>;

MenuQueuePtr& QueueOf(RunState& state) {
    return state.Slot<MenuQueuePtr>("menu.queue");
}

// The client area of the top-level window above `hwnd`, on the screen.
RECT TopLevelClientRect(HWND hwnd) {
    while (hwnd && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = GetParent(hwnd);
    RECT rc{0, 0, 0, 0};
    if (!hwnd) return rc;
    GetClientRect(hwnd, &rc);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    OffsetRect(&rc, origin.x, origin.y);
    return rc;
}

// Saves the host window with the open popups over it.
bool SaveMenuSnapshot(const std::string& path, std::string* error) {
    const std::vector<rt::MenuPopupView> open = rt::OpenMenus();
    if (open.empty()) {
        *error = "no menu is open";
        return false;
    }
    HWND top = open[0].owner;
    while (top && (GetWindowLongPtrW(top, GWL_STYLE) & WS_CHILD)) top = GetParent(top);
    if (top) UpdateWindow(top);  // paints what is pending, possibly over the popups
    rt::RedrawOpenMenus();
    RECT picture_rect = TopLevelClientRect(open[0].owner);
    for (const rt::MenuPopupView& view : open) UnionRect(&picture_rect, &picture_rect, &view.screen_rect);
    const SIZE screen = rt::GetScreenSize();
    const RECT screen_rect{0, 0, screen.cx, screen.cy};
    IntersectRect(&picture_rect, &picture_rect, &screen_rect);
    HBITMAP bmp = rt::CopyScreenRect(picture_rect);
    const bool ok = bmp && rt::SavePngFile(bmp, path, error);
    if (bmp) DeleteObject(bmp);
    return ok;
}

std::string VerbMenu(const Args& args) {
    args.ExpectAtLeast(1);
    MenuQueuePtr queue = QueueOf(args.State());
    if (!queue) args.Fail("menu answers need a run");
    rt::MenuAnswer answer;
    const Arg& first = args.At(0);
    if (first.type == Arg::Type::Word && first.word == "cancel") {
        answer.dismiss = true;
    } else if (first.type == Arg::Type::String) {
        answer.path = args.Str(0);
        if (answer.path.empty()) args.Fail("menu needs the text of an item");
    } else {
        args.Fail("menu takes \"TEXT\" or cancel");
    }
    if (args.Count() > 1) {
        args.ExpectCount(3);
        if (args.Word(1) != "snapshot") args.Fail("expected snapshot FILE.png after the answer");
        const std::string path = args.OutputPath(2, queue->outDir);
        const Arg& f = args.At(2);
        const std::string file = f.type == Arg::Type::Word ? f.word : rt::WideToUtf8(args.Str(2));
        std::weak_ptr<MenuQueue> weak = queue;
        answer.onShown = [weak, file, path] {
            std::string error;
            const bool ok = SaveMenuSnapshot(path, &error);
            if (MenuQueuePtr q = weak.lock())
                q->line(ok ? "snapshot " + file : "snapshot " + file + " failed: " + error);
        };
    }
    queue->answers.push_back(std::move(answer));
    return "";
}

// Uninstalls the answerer when the run's state goes.
struct Session {
    ~Session() {
        rt::SetMenuAnswerer(nullptr);
        rt::SetMenuReportHook(nullptr);
    }
};

}  // namespace

void RegisterMenuVerbs(Registry& registry) {
    registry.AddVerb("menu", VerbMenu);
}

std::shared_ptr<void> StartMenuSession(RunState& state, std::function<void(const std::string&)> line,
                                       const std::string& out_dir) {
    MenuQueuePtr queue = std::make_shared<MenuQueue>();
    queue->outDir = out_dir;
    queue->line = std::move(line);
    QueueOf(state) = queue;
    std::weak_ptr<MenuQueue> weak = queue;
    rt::SetMenuAnswerer([weak](const rt::MenuPopupView&, rt::MenuAnswer* answer) {
        MenuQueuePtr q = weak.lock();
        if (!q || q->answers.empty()) return false;
        *answer = q->answers.front();
        q->answers.pop_front();
        return true;
    });
    rt::SetMenuReportHook([weak](const std::string& text) {
        if (MenuQueuePtr q = weak.lock()) q->line(text);
    });
    return std::make_shared<Session>();
}

}  // namespace kelem
