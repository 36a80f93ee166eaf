// MFC and ATL classes of the portable runtime (the subset the library uses).
#pragma once

#include "afx/afx.h"
#include "afx/afxplex.h"
#include "afx/afxtempl.h"
#include "afx/afxgdi.h"
#include "afx/afxwnd.h"
#include "afx/afxmenu.h"
#include "afx/afxctl.h"
#include "afx/atlbase.h"
#include "afx/atlgdi.h"
