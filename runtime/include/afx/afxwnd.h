// The MFC window and application classes: CCmdTarget with message maps, CWnd, CWinThread,
// CWinApp, the module-state scope guard and the global Afx* accessors.
//
// Message maps. Each class with DECLARE_MESSAGE_MAP has a static table of entries
// {message, notification code, id range, signature kind, pointer to member}; the table
// chains to the base class's table. The entry macros (ON_WM_PAINT, ON_COMMAND, ...) check
// the handler's signature when the table is compiled and store the pointer to member in
// a common type; dispatch converts it back by signature kind. The first match from the
// most derived class down wins.
//
// Handle map. CWnd objects that created, attached or subclassed a window are its
// PERMANENT object (FromHandlePermanent). FromHandle on any other window makes a
// TEMPORARY CWnd, kept in the thread's temporary map until CWnd::DeleteTempMap, which
// CWinThread::Run calls when idle together with AfxDeleteTempMaps.
//
// Index
//   1. Message map records and macros
//   2. CCmdTarget
//   3. CWnd
//   4. CWinThread, CWinApp
//   5. Module state and the global accessors
#pragma once

#include "afx/afx.h"
#include "win32/winuser.h"

class CCmdTarget;
class CWnd;
class CDC;
struct CCreateContext;

// ---- 1. Message map records and macros ---------------------------------------------------------
typedef void (CCmdTarget::*AFX_PMSG)(void);

// The handler signatures the dispatcher knows (AfxSig_ + result + arguments).
enum AfxSig : UINT_PTR {
    AfxSig_end = 0,
    AfxSig_vv,        // void ()                                     CCmdTarget
    AfxSig_vw,        // void (UINT)                                 CCmdTarget, command ranges
    AfxSig_lwl,       // LRESULT (WPARAM, LPARAM)                     CWnd
    AfxSig_is,        // int (LPCREATESTRUCT)                         CWnd
    AfxSig_bD,        // BOOL (CDC*)                                  CWnd
    AfxSig_vwii,      // void (UINT, int, int)                        CWnd
    AfxSig_vw_ptr,    // void (UINT_PTR)                              CWnd
    AfxSig_vwp,       // void (UINT, CPoint)                          CWnd
    AfxSig_bwsp,      // BOOL (UINT, short, CPoint)                   CWnd
    AfxSig_bWww,      // BOOL (CWnd*, UINT, UINT)                     CWnd
    AfxSig_vMeasure,  // void (int, LPMEASUREITEMSTRUCT)              CWnd
    AfxSig_vDraw,     // void (int, LPDRAWITEMSTRUCT)                 CWnd
    AfxSig_vwww,      // void (UINT, UINT, UINT)                      CWnd
    AfxSig_vW,        // void (CWnd*)                                 CWnd
    AfxSig_vv_wnd,    // void ()                                     CWnd
};

// Message-map entries keep every handler as an AFX_PMSG; dispatch converts it back to the
// type its signature kind names, which makes the round trip exact.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"
template <class Pmf>
inline AFX_PMSG AfxStorePmf(Pmf pmf) {
    return reinterpret_cast<AFX_PMSG>(pmf);
}
template <class Pmf>
inline Pmf AfxLoadPmf(AFX_PMSG pmf) {
    return reinterpret_cast<Pmf>(pmf);
}
#pragma GCC diagnostic pop

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;    // WM_COMMAND entries: the notification code (CN_COMMAND for menus)
    UINT nID;      // WM_COMMAND entries: first id of the range
    UINT nLastID;  // WM_COMMAND entries: last id of the range
    UINT_PTR nSig;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for CCmdTarget, the root
    const AFX_MSGMAP_ENTRY* lpEntries;
};

struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

#define CN_COMMAND 0

#define DECLARE_MESSAGE_MAP()                     \
protected:                                        \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                               \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                      \
        return GetThisMessageMap();                                          \
    }                                                                        \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                        \
        typedef theClass ThisClass;                                          \
        typedef baseClass TheBaseClass;                                      \
        static_assert(sizeof(ThisClass) != 0, "the class must be complete"); \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                         \
    { 0, 0, 0, 0, AfxSig_end, nullptr }                                                           \
    }                                                                                             \
    ;                                                                                             \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                           \
    }

// The handler's signature is checked by the static_cast; AfxStorePmf only stores it.
#define AFX_WND_ENTRY(msg, sig, type, memberFxn) \
    {msg, 0, 0, 0, sig, AfxStorePmf(static_cast<type>(&ThisClass::memberFxn))},

#define ON_WM_CREATE() AFX_WND_ENTRY(WM_CREATE, AfxSig_is, int (CWnd::*)(LPCREATESTRUCT), OnCreate)
#define ON_WM_DESTROY() AFX_WND_ENTRY(WM_DESTROY, AfxSig_vv_wnd, void (CWnd::*)(), OnDestroy)
#define ON_WM_PAINT() AFX_WND_ENTRY(WM_PAINT, AfxSig_vv_wnd, void (CWnd::*)(), OnPaint)
#define ON_WM_CLOSE() AFX_WND_ENTRY(WM_CLOSE, AfxSig_vv_wnd, void (CWnd::*)(), OnClose)
#define ON_WM_MOUSELEAVE() AFX_WND_ENTRY(WM_MOUSELEAVE, AfxSig_vv_wnd, void (CWnd::*)(), OnMouseLeave)
#define ON_WM_ERASEBKGND() AFX_WND_ENTRY(WM_ERASEBKGND, AfxSig_bD, BOOL (CWnd::*)(CDC*), OnEraseBkgnd)
#define ON_WM_SIZE() AFX_WND_ENTRY(WM_SIZE, AfxSig_vwii, void (CWnd::*)(UINT, int, int), OnSize)
#define ON_WM_TIMER() AFX_WND_ENTRY(WM_TIMER, AfxSig_vw_ptr, void (CWnd::*)(UINT_PTR), OnTimer)
#define ON_WM_MOUSEMOVE() AFX_WND_ENTRY(WM_MOUSEMOVE, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_WND_ENTRY(WM_LBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WND_ENTRY(WM_LBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_WND_ENTRY(WM_LBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_WND_ENTRY(WM_RBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_WND_ENTRY(WM_RBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonUp)
#define ON_WM_MOUSEWHEEL() AFX_WND_ENTRY(WM_MOUSEWHEEL, AfxSig_bwsp, BOOL (CWnd::*)(UINT, short, CPoint), OnMouseWheel)
#define ON_WM_SETCURSOR() AFX_WND_ENTRY(WM_SETCURSOR, AfxSig_bWww, BOOL (CWnd::*)(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_MEASUREITEM() \
    AFX_WND_ENTRY(WM_MEASUREITEM, AfxSig_vMeasure, void (CWnd::*)(int, LPMEASUREITEMSTRUCT), OnMeasureItem)
#define ON_WM_DRAWITEM() AFX_WND_ENTRY(WM_DRAWITEM, AfxSig_vDraw, void (CWnd::*)(int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_KEYDOWN() AFX_WND_ENTRY(WM_KEYDOWN, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_CHAR() AFX_WND_ENTRY(WM_CHAR, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnChar)
#define ON_WM_SETFOCUS() AFX_WND_ENTRY(WM_SETFOCUS, AfxSig_vW, void (CWnd::*)(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_WND_ENTRY(WM_KILLFOCUS, AfxSig_vW, void (CWnd::*)(CWnd*), OnKillFocus)

#define ON_MESSAGE(message, memberFxn) \
    {message, 0, 0, 0, AfxSig_lwl, AfxStorePmf(static_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(&ThisClass::memberFxn))},
#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, CN_COMMAND, UINT(id), UINT(id), AfxSig_vv, static_cast<AFX_PMSG>(&ThisClass::memberFxn)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND,   CN_COMMAND, UINT(id),        \
     UINT(idLast), AfxSig_vw,  AfxStorePmf(static_cast<void (CCmdTarget::*)(UINT)>(&ThisClass::memberFxn))},

// ---- 2. CCmdTarget ---------------------------------------------------------------------------------
class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // Runs the WM_COMMAND entry of the message map for (nID, nCode). With pHandlerInfo,
    // only reports the handler. TRUE when there is one.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    // The first entry for a message (and, for WM_COMMAND, a code and id) along the chain.
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* map, UINT nMsg, UINT nCode, UINT nID);
};

// ---- 3. CWnd ----------------------------------------------------------------------------------------
// The window procedure of every window with a CWnd: routes messages to CWnd::WindowProc.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// Registers (once) a window class with these attributes and returns its name, which stays
// valid until the next call on this thread.
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() = default;
    // Destroys a window that is still attached, as MFC does.
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    operator HWND() const { return m_hWnd; }  // NOLINT(google-explicit-constructor)
    HWND GetSafeHwnd() const { return m_hWnd; }

    // ---- handle map
    static CWnd* FromHandle(HWND hWnd);  // permanent object, else a temporary; null for null
    static CWnd* FromHandlePermanent(HWND hWnd);
    static void DeleteTempMap();  // frees this thread's temporary CWnd objects
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);  // attaches and routes the window's messages through this object
    HWND UnsubclassWindow();

    // ---- creation and destruction
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                          int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                          const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);

    // ---- state
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL IsWindowVisible() const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowEnabled() const;
    CWnd* GetParent() const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);

    // ---- geometry
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    static CWnd* WindowFromPoint(POINT point);

    // ---- painting
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    void UpdateWindow();
    BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE);
    CDC* GetDC();  // a temporary CDC; give it back with ReleaseDC
    CDC* GetWindowDC();
    int ReleaseDC(CDC* pDC);

    // ---- input
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    static CWnd* GetCapture();
    CWnd* SetActiveWindow();
    static CWnd* GetActiveWindow();

    // ---- timers and messages
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer);
    BOOL KillTimer(UINT_PTR nIDEvent);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    static const MSG* GetCurrentMessage();  // the message being handled on this thread

    // The default processing of the message being handled.
    LRESULT Default();
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Called after WM_NCDESTROY, once the object has let go of its window. Does nothing here;
    // classes that live on the heap may delete themselves.
    virtual void PostNcDestroy();

    WNDPROC m_pfnSuper = nullptr;  // the procedure a subclassed window had before

protected:
    // Default handlers: each does the default processing of its message.
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg void OnClose();
    afx_msg void OnMouseLeave();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);

    DECLARE_MESSAGE_MAP()

private:
    BOOL DispatchEntry(const AFX_MSGMAP_ENTRY& entry, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};

// ---- 4. CWinThread, CWinApp --------------------------------------------------------------------------
class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread() = default;
    CWnd* m_pMainWnd = nullptr;

    virtual BOOL InitInstance();  // FALSE: a plain thread has nothing to start
    virtual int ExitInstance();   // the exit code: wParam of the WM_QUIT that ended Run, else 0
    // The message loop: runs until WM_QUIT (or until GetMessage has nothing left to wait
    // for), freeing temporary maps when the queue is empty; returns ExitInstance().
    virtual int Run();
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }

protected:
    MSG m_msgCur{};
};

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    // Becomes the application object that AfxGetApp returns (the module has one).
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    LPCTSTR m_pszAppName = nullptr;
    HINSTANCE m_hInstance = nullptr;

    BOOL InitInstance() override;  // TRUE
    int ExitInstance() override;

    DECLARE_MESSAGE_MAP()
};

// ---- 5. Module state and the global accessors -------------------------------------------------------
struct AFX_MODULE_STATE {
    CWinApp* m_pCurrentWinApp = nullptr;
    HINSTANCE m_hCurrentInstanceHandle = nullptr;
    HINSTANCE m_hCurrentResourceHandle = nullptr;
    LPCTSTR m_lpszCurrentAppName = nullptr;
};

// There is one module here, so every accessor gives the same state.
AFX_MODULE_STATE* AfxGetModuleState();
AFX_MODULE_STATE* AfxGetStaticModuleState();
AFX_MODULE_STATE* AfxGetAppModuleState();

// Switching module state has nothing to switch between; the guard only marks the scope.
class AFX_MAINTAIN_STATE2 {
public:
    explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* pModuleState) : m_pPrevState(pModuleState) {}
    ~AFX_MAINTAIN_STATE2() {}
    AFX_MAINTAIN_STATE2(const AFX_MAINTAIN_STATE2&) = delete;
    AFX_MAINTAIN_STATE2& operator=(const AFX_MAINTAIN_STATE2&) = delete;

private:
    [[maybe_unused]] AFX_MODULE_STATE* m_pPrevState;  // nothing to restore: one module
};
#define AFX_MANAGE_STATE(p) AFX_MAINTAIN_STATE2 _ctlState(p)

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
