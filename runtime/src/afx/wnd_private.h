// State shared by the CWnd sources: the thread's handle maps, the window being created
// and the message being handled, kept per thread as MFC keeps them.
#pragma once

#include <unordered_map>

#include "afx/afxwnd.h"

namespace afxwnd {

struct ThreadState {
    std::unordered_map<HWND, CWnd*> permanent;
    std::unordered_map<HWND, CWnd*> temporary;  // owned
    CWnd* wndInit = nullptr;                    // the CWnd whose window CreateEx is making
    MSG current{};                              // the message being handled (CWnd::Default)

    ThreadState() = default;
    ThreadState(const ThreadState&) = delete;
    ThreadState& operator=(const ThreadState&) = delete;
    ~ThreadState();
};

ThreadState& State();

}  // namespace afxwnd
