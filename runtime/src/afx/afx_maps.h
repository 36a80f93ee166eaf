// The DC side of the per-thread handle maps, kept with the GDI side in
// afx_gdiobject.cpp so that both live in one thread-local record.
#pragma once

#include "afx/afxgdi.h"

namespace afx_internal {

CDC* DcFromHandle(HDC hDC);  // permanent wrapper, else a temporary one
void DcAddPermanent(HDC hDC, CDC* pDC);
void DcRemovePermanent(HDC hDC, CDC* pDC);  // only when pDC is the handle's wrapper
void DcForgetTemporary(CDC* pDC);           // a dying temporary leaves the map

}  // namespace afx_internal
