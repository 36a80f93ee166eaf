// The host framework's element base, as the elements compile against it. The host
// library implements every member declared here (host/ElementContainer.cpp); the
// elements override the virtual slots and call the non-virtual services.
//
// Slot order matters to the host: 0-6 come from CUnknown, 7-10 from CPropertyObject,
// 11-50 from CElementContainer, exactly in the order declared below.
#pragma once

#include <string>
#include <vector>

#include "Unknown.h"

// A key/value pair of the property protocol (slots 9 and 10).
struct _KEY_VALUE_NODE {
    std::wstring strKey;
    std::wstring strValue;
};

// Stream data kinds of the data-stream protocol (slots 15 and 16); the elements of
// this library use none.
enum QXIBSStreamDataType { QXIBS_STREAM_NONE = 0 };

// What the host hands to InitObject. Opaque to the elements: they pass it on unchanged.
struct _CONTAINER_INFO;

class CElementContainer;
struct ElementHostState;  // the host's per-element bookkeeping (host/)

class CPropertyObject : public CUnknown {
public:
    CPropertyObject();
    CPropertyObject(const CPropertyObject& other);
    CPropertyObject& operator=(const CPropertyObject& other);
    ~CPropertyObject() override;

    // slots 7-10
    virtual BOOL OnBeforeSetValue(const wchar_t* key);
    virtual BOOL OnCompleteSetValue(const wchar_t* key);
    virtual BOOL OnBeforeSetValues(std::vector<_KEY_VALUE_NODE>& values);
    virtual BOOL OnCompleteSetValues(std::vector<_KEY_VALUE_NODE>& values);
};

class CElementContainer : public CPropertyObject {
public:
    CElementContainer();
    // A copy is not placed anywhere: it shares nothing of the original's host state.
    CElementContainer(const CElementContainer& other);
    CElementContainer& operator=(const CElementContainer& other);
    ~CElementContainer() override;

    // slots 11-14
    virtual int InitObject(const wchar_t* name, _CONTAINER_INFO* info);
    virtual BOOL BeforeReleaseObject();
    virtual BOOL ReleaseObject();
    virtual void SetDebugView(int nDebug);
    // slots 15-18
    virtual BOOL IBS_OnReturnWantedStreamDataTypeToFrame(std::vector<QXIBSStreamDataType>& types);
    virtual BOOL IBS_OnGetStreamData(QXIBSStreamDataType type, const char* data, int len);
    virtual BOOL ResetParent(CElementContainer* parent);
    virtual BOOL OnNeedVKReturn();
    // slots 19-23
    virtual BOOL OnFilter(UINT msg, UINT wParam, LPARAM lParam, POINT pt);
    virtual BOOL OnWindowProc(UINT msg, UINT wParam, LPARAM lParam, POINT pt);
    virtual int OnPaint(CPaintDC* pDC);
    virtual int OnEraseBackground(CDC* pDC);
    virtual int OnShow(int bShow);
    // slots 24-31
    virtual int OnLButtonDown(POINT pt);
    virtual int OnLButtonUp(POINT pt);
    virtual int OnRButtonDown(POINT pt);
    virtual int OnRButtonUp(POINT pt);
    virtual int OnDBClick(int nButton, POINT pt);
    virtual int OnMouseWheel(UINT nFlags, int zDelta, POINT pt);
    virtual int OnSize(UINT nType, int cx, int cy);
    virtual int OnTimer(DWORD dwID);
    // slots 32-37
    virtual int OnVKEsc();
    virtual int OnVKBackSpace();
    virtual int OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual int OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual int OnMouseMove(int x, int y, DWORD dwFlags);
    virtual int OnUserMessage(UINT msg, UINT wParam, LPARAM lParam);
    // slots 38-43
    virtual int OnMenuCommand(DWORD dwCmd);
    virtual int OnAcceleratorCommand(DWORD dwCmd);
    virtual int OnControlCommand(DWORD dwID, DWORD dwCode, HWND hWnd);
    virtual int OnBroadcastCommand(UINT msg, LPARAM lParam);
    virtual int OnSetCursor(UINT nHitTest, LPARAM lParam);
    virtual int OnMouseLeave();
    // slots 44-50
    virtual int OnSetFocus(int bFocus);
    virtual int OnSetWndFocus(int bFocus);
    virtual int OnControlMessage(DWORD dwID, UINT msg, UINT wParam, LPARAM lParam);
    virtual int OnChar(UINT nChar, int nRepCnt, int nFlags);
    virtual int OnChildsProc(UINT msg, UINT wParam, LPARAM lParam);
    virtual int OnDeleteFromUserStyle();
    virtual int AfterRestoreElementStates();

    // ---- services the elements call -------------------------------------------------
    BOOL RegisterMessage(UINT msg);
    // The element's rectangle in its drawing coordinates: those of the paint DC, of the
    // mouse points and of InvalidContainerRect. This host uses element-local
    // coordinates, so it is (0, 0, width, height).
    RECT* GetDrawRect(RECT* prc);
    // The element's rectangle in its host window's client coordinates.
    RECT* GetContainerRect(RECT* prc);
    // Repaint a rectangle of the element (drawing coordinates), or all of it when null.
    BOOL InvalidContainerRect(int nFlag, RECT* prc);
    BOOL SetCapture();
    BOOL ReleaseCapture();
    BOOL StartTimer(DWORD dwID, DWORD dwElapse);
    BOOL StopTimer(DWORD dwID);
    BOOL PostControlMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    BOOL SkipMsg();
    BOOL IsActive();
    HWND GetVMWindow();
    DWORD GetID();
    BOOL SetFocus();

    ElementHostState* HostState() const { return m_pHostState; }  // host use only

private:
    ElementHostState* m_pHostState;  // owned; created by the host library
};
