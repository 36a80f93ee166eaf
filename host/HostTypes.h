// Host-side records shared by the host framework's parts.
#pragma once

#include <string>
#include <vector>

#include "frame/ElementContainer.h"

class CHostWindow;

// What the host hands to an element's InitObject: where the element lives.
struct _CONTAINER_INFO {
    CHostWindow* pHost = nullptr;  // null: the element is not placed in a window
    DWORD dwID = 0;
    RECT rcContainer{};            // host-window client coordinates
};

// The host's bookkeeping for one element (CElementContainer::HostState()).
struct ElementHostState {
    CHostWindow* pHost = nullptr;
    DWORD dwID = 0;
    RECT rcContainer{};
    std::vector<UINT> registered;  // in registration order
    BOOL bActive = TRUE;
    BOOL bVisible = TRUE;

    bool IsRegistered(UINT msg) const {
        for (UINT m : registered)
            if (m == msg) return true;
        return false;
    }
};

// A control message an element posted, as the embedding program reads it.
struct ControlMessage {
    DWORD time = 0;        // the runtime clock when it was posted
    std::wstring senderName;
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
