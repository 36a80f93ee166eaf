// Shared helpers of the window tests: a window class that records every message it
// receives, and a fixture that starts each test with an empty queue and destroys the
// windows it made.
#pragma once

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "win32/runtime_ext.h"
#include "win32/winuser.h"

namespace ut {

struct Record {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;  // GetTickCount when the message arrived
};

inline std::vector<Record>& Log() {
    static std::vector<Record> log;
    return log;
}

inline void Note(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Log().push_back(Record{hwnd, msg, wParam, lParam, GetTickCount()});
}

// The messages of a window's life: creation, showing, moving, sizing, closing, destruction.
// Activation, focus, non-client painting and input-method messages, which the system adds when
// it activates a shown top-level window, are left out.
inline bool IsLifeMessage(UINT msg) {
    switch (msg) {
        case WM_NCCREATE: case WM_NCCALCSIZE: case WM_CREATE: case WM_SIZE: case WM_MOVE: case WM_SHOWWINDOW:
        case WM_WINDOWPOSCHANGING: case WM_WINDOWPOSCHANGED: case WM_CLOSE: case WM_DESTROY: case WM_NCDESTROY:
            return true;
        default:
            return false;
    }
}

// The messages one window received (all windows for null), in order; with life set, only
// the messages of its life.
inline std::vector<UINT> MessagesOf(HWND hwnd, bool life = false) {
    std::vector<UINT> out;
    for (const Record& r : Log()) {
        if ((!hwnd || r.hwnd == hwnd) && (!life || IsLifeMessage(r.msg))) out.push_back(r.msg);
    }
    return out;
}

// The records of one message, in order.
inline std::vector<Record> Only(UINT msg) {
    std::vector<Record> out;
    for (const Record& r : Log()) {
        if (r.msg == msg) out.push_back(r);
    }
    return out;
}

// Who received one message and with which arguments, in order.
using Call = std::tuple<HWND, WPARAM, LPARAM>;
inline std::vector<Call> Calls(UINT msg) {
    std::vector<Call> out;
    for (const Record& r : Only(msg)) out.emplace_back(r.hwnd, r.wParam, r.lParam);
    return out;
}

inline LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Note(hwnd, msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Registers a class once per process; returns its name.
inline LPCWSTR EnsureClass(LPCWSTR name, WNDPROC proc, HBRUSH background = nullptr) {
    WNDCLASSW wc{};
    if (GetClassInfoW(nullptr, name, &wc)) return name;
    wc.lpfnWndProc = proc;
    wc.hCursor = LoadCursorW(nullptr, IDC_CROSS);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassW(&wc);
    return name;
}

constexpr LPCWSTR kRecorderClass = L"UtRecorder";

class UserTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureClass(kRecorderClass, RecordingProc);
        Drain();
    }
    void TearDown() override {
        for (HWND hwnd : made_) DestroyWindow(hwnd);
        ReleaseCapture();
        SetFocus(nullptr);
        Drain();
    }
    // A window of a class (the recorder by default); top-level unless a parent is given.
    // Top-level ones are pop-ups, the frameless kind: an overlapped window has a caption.
    HWND Make(RECT rect, HWND parent = nullptr, DWORD style = WS_VISIBLE, LPCWSTR cls = kRecorderClass) {
        style |= parent ? WS_CHILD : WS_POPUP;
        HWND hwnd = CreateWindowExW(0, cls, L"", style, rect.left, rect.top, rect.right - rect.left,
                                    rect.bottom - rect.top, parent, nullptr, nullptr, nullptr);
        if (!parent) made_.push_back(hwnd);
        return hwnd;
    }
    // Dispatches what is queued, paints included.
    void Pump() { rt::PumpMessages(); }

private:
    static void Drain() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        Log().clear();
    }
    std::vector<HWND> made_;
};

}  // namespace ut
