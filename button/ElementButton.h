// A skinned push button: one skin bitmap per state (normal, hot, pressed, disabled), an
// optional stretched background bitmap and fill colour, and a caption. Every release
// of the left button that reaches it posts 1334 with its identifier.
#pragma once

#include <string>

#include "frame/ElementContainer.h"
#include "frame/HostServices.h"
#include "frame/LightCanvas.h"

class CElementButton : public CElementContainer {
public:
    CElementButton();
    CElementButton(const CElementButton& other);
    CElementButton& operator=(const CElementButton& other);
    ~CElementButton() override;

    int InitObject(const wchar_t* name, _CONTAINER_INFO* info) override;
    BOOL InitBtn(int nID, unsigned long clrBk, const wchar_t* pszFolder, const wchar_t* pszFile);
    // A null font clears m_pFont (the caption then uses the DC's font); a non-null one
    // leaves m_pFont as it was.
    BOOL SetButtonText(const wchar_t* pszText, CFont* pFont, unsigned int nFormat);
    BOOL SetImage(const wchar_t* pszFolder, const wchar_t* pszNormal, const wchar_t* pszHot, const wchar_t* pszDown,
                  const wchar_t* pszDisable);
    BOOL DrawBitmap(CLightCanvas& canvas, CBitmap* pBmp, CRect& rc);
    void SetTextColor(unsigned long clr);
    void SetTextHotColor(unsigned long clr);
    void SetBtnDisable(int bDisable);

private:
    int OnPaint(CPaintDC* pDC) override;
    int OnEraseBackground(CDC* pDC) override;
    int OnLButtonDown(POINT pt) override;
    int OnLButtonUp(POINT pt) override;
    int OnMouseMove(int x, int y, DWORD dwFlags) override;
    int OnMouseLeave() override;
    int OnSize(UINT nType, int cx, int cy) override;
    void PaintBk(CDC* pDC);
    void DrawStateImage(CLightCanvas& canvas, IBitmapFactory* pFactory, const std::wstring& file, CRect& rc);


public:
    CBitmap* m_pBkBitmap = nullptr;  // the bitmap factory's; never deleted here
    COLORREF m_clrText = 0;          // 0 = leave the DC's text colour
    COLORREF m_clrTextHot = 0;       // 0 = leave the DC's text colour
    std::wstring m_strText;
    std::wstring m_strImageFolder;
    std::wstring m_strImageNormal;
    std::wstring m_strImageHot;
    std::wstring m_strImageDown;
    std::wstring m_strImageDisable;
    BOOL m_bDown = FALSE;
    BOOL m_bHot = FALSE;
    BOOL m_bDisable = FALSE;
    int m_nID = 0;                   // until InitBtn
    BOOL m_bTracking = FALSE;        // the current hover has been noted
    BOOL m_bFocus = FALSE;           // set by the first enabled press, never cleared
    COLORREF m_clrBk = CLR_INVALID;  // until InitBtn: no fill
    CFont* m_pFont = nullptr;        // the palette's
    UINT m_nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
};
