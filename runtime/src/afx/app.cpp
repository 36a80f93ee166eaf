// CWinThread, CWinApp, the module state and the global Afx* accessors.
#include "afx/afxgdi.h"
#include "afx/afxwnd.h"

namespace {

// The module's instance handle: a distinct, stable value, as the loader would give.
HINSTANCE__ g_moduleInstance{};

}  // namespace

AFX_MODULE_STATE* AfxGetModuleState() {
    static AFX_MODULE_STATE state = [] {  // one module, as MFC keeps one state per module
        AFX_MODULE_STATE s;
        s.m_hCurrentInstanceHandle = &g_moduleInstance;
        s.m_hCurrentResourceHandle = &g_moduleInstance;
        return s;
    }();
    return &state;
}

AFX_MODULE_STATE* AfxGetStaticModuleState() {
    return AfxGetModuleState();
}
AFX_MODULE_STATE* AfxGetAppModuleState() {
    return AfxGetModuleState();
}

CWinApp* AfxGetApp() {
    return AfxGetModuleState()->m_pCurrentWinApp;
}

CWnd* AfxGetMainWnd() {
    CWinApp* app = AfxGetApp();
    return app ? app->GetMainWnd() : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    return AfxGetModuleState()->m_hCurrentInstanceHandle;
}
HINSTANCE AfxGetResourceHandle() {
    return AfxGetModuleState()->m_hCurrentResourceHandle;
}

// ---- CWinThread ---------------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

BOOL CWinThread::InitInstance() {
    return FALSE;
}

int CWinThread::ExitInstance() {
    return m_msgCur.message == WM_QUIT ? int(m_msgCur.wParam) : 0;
}

int CWinThread::Run() {
    for (;;) {
        if (!::PeekMessageW(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
            CWnd::DeleteTempMap();  // idle: temporary wrappers are no longer in use
            AfxDeleteTempMaps();
        }
        const BOOL got = ::GetMessageW(&m_msgCur, nullptr, 0, 0);
        if (got == 0) break;
        if (got == -1) {  // nothing left to wait for
            m_msgCur = MSG{};
            break;
        }
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageW(&m_msgCur);
    }
    return ExitInstance();
}

// ---- CWinApp ----------------------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_pszAppName(lpszAppName), m_hInstance(AfxGetInstanceHandle()) {
    AFX_MODULE_STATE* state = AfxGetModuleState();
    state->m_pCurrentWinApp = this;
    state->m_lpszCurrentAppName = lpszAppName;
}

CWinApp::~CWinApp() {
    AFX_MODULE_STATE* state = AfxGetModuleState();
    if (state->m_pCurrentWinApp != this) return;
    state->m_pCurrentWinApp = nullptr;
    state->m_lpszCurrentAppName = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return CWinThread::ExitInstance();
}
