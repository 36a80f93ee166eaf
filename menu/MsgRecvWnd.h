// The hidden message window that owns every popup menu the library tracks. Elements are
// window-less, so a popup cannot report its choice to the element by a WM_COMMAND to a
// window of its own: the popup's WM_COMMAND reaches this window instead, which hands it to
// the host's view manager addressed to the element that opened the most recent popup.
//
// One instance per process, g_pMsgRecvWnd, made at the first popup and never freed. Its
// window is a hidden child (WS_CHILD without WS_VISIBLE, empty rectangle, control id 1011)
// of the window passed to the call that created it; later popups re-aim it but never
// re-parent it. When that window is destroyed, the hidden window goes with it and the next
// popup creates it again under its own window.
#pragma once

#include "platform.h"

class CMsgRecvWnd : public CWnd {
public:
    explicit CMsgRecvWnd(CWnd* pParentWnd);
    ~CMsgRecvWnd() override = default;
    CMsgRecvWnd(const CMsgRecvWnd&) = delete;
    CMsgRecvWnd& operator=(const CMsgRecvWnd&) = delete;

    static constexpr const wchar_t* kTitle = L"{B7018D46-D2CD-426d-B01B-1C0D275AB064}";
    static constexpr UINT kControlID = 1011;

    // Creates the hidden window under pParentWnd; FALSE when it could not be made.
    BOOL CreateHidden(CWnd* pParentWnd);

    CWnd* m_pParentWnd;         // the window of the most recent popup call; not owned
    DWORD m_dwContainerID = 0;  // the element that menu commands go to

    // Hands the command to the element m_dwContainerID as message 273, then to CWnd.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    // Routes menu measuring to the CMenu object of the menu that holds the item.
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);

    DECLARE_MESSAGE_MAP()
};

extern CMsgRecvWnd* g_pMsgRecvWnd;
