// Shared helpers of the window tests: a window class that records every message it
// receives, and a fixture that starts each test with an empty queue and destroys the
// windows it made.
#pragma once

#include <gtest/gtest.h>

#include <string>
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

// The messages one window received, in order (all windows for null).
inline std::vector<UINT> MessagesOf(HWND hwnd) {
    std::vector<UINT> out;
    for (const Record& r : Log()) {
        if (!hwnd || r.hwnd == hwnd) out.push_back(r.msg);
    }
    return out;
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

inline std::vector<UINT> LifeMessagesOf(HWND hwnd) {
    std::vector<UINT> out;
    for (UINT msg : MessagesOf(hwnd)) {
        if (IsLifeMessage(msg)) out.push_back(msg);
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

inline LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Log().push_back(Record{hwnd, msg, wParam, lParam, GetTickCount()});
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

constexpr LPCWSTR kRecorderClass = L"UtRecorder";

inline void EnsureRecorderClass() {
    WNDCLASSW wc{};
    if (GetClassInfoW(nullptr, kRecorderClass, &wc)) return;
    wc.lpfnWndProc = RecordingProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_CROSS);
    wc.lpszClassName = kRecorderClass;
    RegisterClassW(&wc);
}

// Through the runtime's screen copy: on Windows the system's screen is not readable
// everywhere (Wine's null driver), and the copy is the one reading that works on both.
inline COLORREF ScreenPixel(int x, int y) {
    const RECT rc{x, y, x + 1, y + 1};
    HBITMAP copy = rt::CopyScreenRect(rc);
    if (!copy) return CLR_INVALID;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, copy);
    const COLORREF c = GetPixel(dc, 0, 0);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(copy);
    return c;
}

class UserTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureRecorderClass();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        Log().clear();
    }
    void TearDown() override {
        for (HWND hwnd : made_) DestroyWindow(hwnd);
        ReleaseCapture();
        SetFocus(nullptr);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        Log().clear();
    }
    // A recorder window; top-level unless a parent is given. Top-level ones are pop-ups, the
    // frameless kind: an overlapped window has a caption and a border.
    HWND Make(RECT rect, HWND parent = nullptr, int id = 0, DWORD style = WS_VISIBLE) {
        style |= parent ? WS_CHILD : WS_POPUP;
        HWND hwnd = CreateWindowExW(0, kRecorderClass, L"", style, rect.left, rect.top, rect.right - rect.left,
                                    rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                    nullptr, nullptr);
        if (!parent) Adopt(hwnd);
        return hwnd;
    }
    // Dispatches what is queued, paints included.
    void Pump() { rt::PumpMessages(); }
    // A top-level window the test made itself, destroyed at the end.
    void Adopt(HWND hwnd) { made_.push_back(hwnd); }

private:
    std::vector<HWND> made_;
};

}  // namespace ut
