// The library's application object. Exactly one instance, theApp, exists from the
// moment the library is loaded until it is unloaded.
#pragma once

#include "platform.h"

class CElementBaseApp : public CWinApp {
public:
    CElementBaseApp();
    BOOL InitInstance() override;
    int ExitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern CElementBaseApp theApp;
