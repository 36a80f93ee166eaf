#include "ElementBaseApp.h"

BEGIN_MESSAGE_MAP(CElementBaseApp, CWinApp)
END_MESSAGE_MAP()

CElementBaseApp::CElementBaseApp() : CWinApp(nullptr) {}

BOOL CElementBaseApp::InitInstance() {
    CWinApp::InitInstance();
    return TRUE;
}

int CElementBaseApp::ExitInstance() { return CWinApp::ExitInstance(); }

CElementBaseApp theApp;
