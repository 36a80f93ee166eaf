// A host window of the reference host framework: a real runtime window that holds
// window-less elements at container rectangles and routes to each element only the
// messages it registered.
//
// Routing rules (the host's own decisions):
//   - drawing coordinates are element-local: GetDrawRect is (0, 0, width, height), and
//     mouse points and the paint DC are translated to the element's top-left;
//   - the mouse goes to the element holding the capture, else to the topmost element
//     under the pointer (the one placed last);
//   - OnMouseLeave is called when the pointer leaves an element, whether or not it
//     registered 675; while an element holds the capture its leave waits for the release;
//   - WM_SETCURSOR (32) reaches an element that registered it on each pointer move over
//     it; over no element the host shows the arrow, over an element that did not
//     register 32 it leaves the cursor alone (the element sets it itself);
//   - WM_SIZE (5) when a container rectangle changes size;
//   - element timers are the host's own table on the runtime's clock: on the virtual clock
//     they fire only as the embedder moves time (FireNextTimer, CHeadlessHost::Wait), the
//     same way on every platform; on the real clock one window timer fires what is due;
//   - InvalidContainerRect accumulates an invalid area; flag 1 asks the host to erase
//     its background under the area first, flag 0 says the element covers every pixel;
//     a paint pass paints, clipped, every element the area touches (background erase
//     (20) first where registered) and counts GDI objects around every element paint;
//   - posted control messages go into a queue the embedding program reads in order.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "HostTypes.h"

class CHostWindow : public CWnd {
public:
    CHostWindow();
    ~CHostWindow() override;
    CHostWindow(const CHostWindow&) = delete;
    CHostWindow& operator=(const CHostWindow&) = delete;

    // A top-level window at screen_rect (its client area; this host has no frame).
    BOOL CreateHost(const wchar_t* title, const RECT& screen_rect);

    // Constructs nothing: InitObject's the element with this window as its container
    // and holds a reference until RemoveElement or the window goes.
    int AddElement(CElementContainer* pElement, const wchar_t* name, DWORD id, const RECT& container_rect);
    BOOL RemoveElement(CElementContainer* pElement);
    BOOL PlaceElement(CElementContainer* pElement, const RECT& container_rect);
    void SetElementActive(CElementContainer* pElement, BOOL bActive);
    CElementContainer* FindElement(DWORD id) const;
    CElementContainer* FindElementByName(const std::wstring& name) const;
    CElementContainer* ElementAt(POINT window_pt) const;
    const std::vector<CElementContainer*>& Elements() const { return m_elements; }

    // Posted control messages, oldest first.
    std::deque<ControlMessage>& ControlMessages() { return m_controlMessages; }
    std::function<void(const ControlMessage&)> onControlMessage;  // called as each is posted

    COLORREF m_clrBackground = RGB(24, 27, 33);
    int PaintLeaks() const { return m_nPaintLeaks; }
    const std::vector<std::wstring>& Problems() const { return m_problems; }
    CElementContainer* LastSkipper() const { return m_pLastSkipper; }  // who consumed the last message
    CElementContainer* CapturedElement() const { return m_pCapture; }  // the query; CaptureElement sets it
    CElementContainer* HoverElement() const { return m_pHover; }
    // While an element paints: the DC it was given (nullptr otherwise) and its place in the
    // client area. A DC other than that one drawn on meanwhile is the element's own buffer,
    // in the element's coordinates.
    HDC PaintingDC() const { return m_hPaintingDC; }
    const RECT& PaintingRect() const { return m_rcPainting; }

    static const std::vector<CHostWindow*>& AllHosts();

    // Moves the clock to the earliest element timer due by `limit` (ties: the one started
    // first) and fires it; false when none is due by then. Virtual clock only.
    bool FireNextTimer(DWORD limit);

    // ---- services behind CElementContainer --------------------------------------------------
    void AttachElement(CElementContainer* pElement, DWORD id, const RECT& container_rect);
    void ForgetElement(CElementContainer* pElement);
    BOOL InvalidateElement(CElementContainer* pElement, int nFlag, const RECT* element_rect);
    BOOL CaptureElement(CElementContainer* pElement);
    BOOL ReleaseElementCapture(CElementContainer* pElement);
    BOOL StartElementTimer(CElementContainer* pElement, DWORD id, DWORD ms);
    BOOL StopElementTimer(CElementContainer* pElement, DWORD id);
    BOOL PostElementMessage(CElementContainer* pElement, UINT msg, WPARAM wParam, LPARAM lParam);
    BOOL SkipCurrentMessage(CElementContainer* pElement);
    BOOL FocusElement(CElementContainer* pElement);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    struct ElementTimer {
        CElementContainer* element;
        DWORD id;
        DWORD interval;
        DWORD due;     // on the runtime's clock
        DWORD serial;  // ties in due time go in the order of (re)starting, as SetTimer's
    };

    void OnHostPaint();
    // Paints the elements that meet rcPaint (window coordinates) into dc.
    void PaintElements(CPaintDC& dc, const RECT& rcPaint);
    void OnHostMouse(UINT msg, WPARAM wParam, POINT window_pt);
    BOOL OnHostSetCursor(WPARAM wParam, LPARAM lParam);
    ElementTimer* EarliestTimer(DWORD limit);
    void FireTimer(ElementTimer* timer);
    void ArmWindowTimer();  // real clock: the window timer at the next due time
    void UpdateHover(POINT window_pt);
    static POINT ToElement(const CElementContainer* pElement, POINT window_pt);
    static bool Routes(const CElementContainer* pElement, UINT msg);

    std::vector<CElementContainer*> m_elements;  // z-order: last is topmost; each AddRef'd
    std::deque<ControlMessage> m_controlMessages;
    std::vector<ElementTimer> m_timers;
    DWORD m_nNextTimerSerial = 1;
    CElementContainer* m_pCapture = nullptr;
    CElementContainer* m_pHover = nullptr;
    CElementContainer* m_pFocus = nullptr;
    CElementContainer* m_pLastSkipper = nullptr;
    int m_nPaintLeaks = 0;
    std::vector<std::wstring> m_problems;
    HDC m_hPaintingDC = nullptr;
    RECT m_rcPainting{};
};
