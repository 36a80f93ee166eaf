// MFC control classes the library needs: CImageList and CToolBar (as far as loading a
// tool-bar resource and reading its buttons goes).
#pragma once

#include "afx/afxgdi.h"
#include "afx/afxwnd.h"
#include "win32/commctrl.h"

class CDC;

// ---- CImageList ---------------------------------------------------------------------------------
// Owns its HIMAGELIST: the destructor destroys it. Not in a handle map (FromHandle makes no
// temporaries here: the library never asks for one).
class CImageList : public CObject {
    DECLARE_DYNCREATE(CImageList)
public:
    CImageList() = default;
    ~CImageList() override;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;

    operator HIMAGELIST() const { return m_hImageList; }  // NOLINT(google-explicit-constructor)
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // The bitmap resource nBitmapID cut into images cx wide; crMask becomes transparent.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    int GetImageCount() const;
    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int Add(CBitmap* pbmImage, COLORREF crMask);
    BOOL Remove(int nImage);
    COLORREF SetBkColor(COLORREF cr);
    COLORREF GetBkColor() const;
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
};

// ---- CToolBar ----------------------------------------------------------------------------------
#define AFX_IDW_TOOLBAR 0xE800
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0800L
#define CBRS_SIZE_DYNAMIC 0x0400L

// A tool bar: a child window of the common tool-bar class holding the buttons, and the
// bitmap of the button images (one image per button that is not a separator, side by side).
class CToolBar : public CWnd {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar() = default;
    ~CToolBar() override;

    // The window is created with an empty rectangle: nothing here lays tool bars out.
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                          DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                          UINT nID = AFX_IDW_TOOLBAR);
    using CWnd::CreateEx;
    // Loads the TOOLBAR resource and the BITMAP resource of the same name; FALSE when either
    // is missing or the window does not exist.
    BOOL LoadToolBar(LPCTSTR lpszResourceName);
    BOOL LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCE(nIDResource)); }
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);  // ID_SEPARATOR (0) makes a separator
    void SetSizes(SIZE sizeButton, SIZE sizeImage);

    int GetCount() const;  // TB_BUTTONCOUNT
    UINT GetItemID(int nIndex) const;
    UINT GetButtonStyle(int nIndex) const;
    HBITMAP GetBitmapHandle() const { return m_hbmImageWell; }
    SIZE GetImageSize() const { return m_sizeImage; }

protected:
    HBITMAP m_hbmImageWell = nullptr;  // owned
    SIZE m_sizeButton{23, 22};
    SIZE m_sizeImage{16, 15};
};
#define ID_SEPARATOR 0
