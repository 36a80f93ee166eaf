// The MFC GDI classes: CGdiObject and its kinds (CPen, CBrush, CFont, CBitmap, CRgn)
// and the device context classes (CDC, CPaintDC, CClientDC, CWindowDC).
//
// Handle maps, per thread as in MFC. Each wrapper that owns a handle (Attach or a
// Create* call) is the handle's PERMANENT object until Detach, DeleteObject or its
// destruction. FromHandle returns the permanent object when there is one; otherwise
// it makes a TEMPORARY wrapper, kept in the thread's temporary map and freed, with
// its handle left alone, by AfxDeleteTempMaps (the idle-time cleanup). So
// CDC::SelectObject(CFont*) hands back the heap CFont that created the previous font
// (deleting it deletes the font), or a temporary for, say, a stock font.
// Deleting a temporary with `delete` is allowed and behaves as for any wrapper: the
// destructor deletes the handle it holds, and the object leaves the temporary map.
//
// Index
//   1. CGdiObject
//   2. CPen, CBrush, CFont, CBitmap, CRgn
//   3. CDC
//   4. CPaintDC, CClientDC, CWindowDC
//   5. AfxDeleteTempMaps
#pragma once

#include "afx/afx.h"
#include "win32/wingdi.h"
#include "win32/winuser.h"

class CWnd;
class CDC;
struct AfxHandleMapAccess;

// ---- 1. CGdiObject ----------------------------------------------------------------------
class CGdiObject : public CObject {
    DECLARE_DYNCREATE(CGdiObject)
public:
    CGdiObject() = default;
    // Deletes the attached handle, if any (stock objects ignore the deletion).
    ~CGdiObject() override;

    HGDIOBJ m_hObject = nullptr;

    operator HGDIOBJ() const { return m_hObject; }  // NOLINT(google-explicit-constructor)
    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    // The permanent wrapper of the handle, else a temporary one of the class that
    // matches the object's kind (a font handle gives a CFont). Null for a null handle.
    static CGdiObject* PASCAL FromHandle(HGDIOBJ hObject);
    static void PASCAL DeleteTempMap();

    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    // Deletes the handle and detaches it; FALSE when nothing is attached.
    BOOL DeleteObject();

    int GetObject(int nCount, LPVOID lpObject) const;
    UINT GetObjectType() const;
    BOOL CreateStockObject(int nIndex);
    // Brushes have nothing to unrealize on this platform (as on Windows NT and later).
    BOOL UnrealizeObject();

    BOOL operator==(const CGdiObject& obj) const { return obj.m_hObject == m_hObject; }
    BOOL operator!=(const CGdiObject& obj) const { return obj.m_hObject != m_hObject; }

private:
    friend struct AfxHandleMapAccess;
    bool m_bTemporary = false;     // owned by the thread's temporary map
    HGDIOBJ m_hTempKey = nullptr;  // the handle it was filed under there
};

// ---- 2. CPen, CBrush, CFont, CBitmap, CRgn ---------------------------------------------------
class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    // Raises CResourceException when the pen cannot be made.
    CPen(int nPenStyle, int nWidth, COLORREF crColor);
    static CPen* PASCAL FromHandle(HPEN hPen);

    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    BOOL CreatePenIndirect(LOGPEN* lpLogPen);
    int GetLogPen(LOGPEN* pLogPen) { return GetObject(sizeof(LOGPEN), pLogPen); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }  // NOLINT(google-explicit-constructor)
};

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    // A solid brush; raises CResourceException when it cannot be made.
    explicit CBrush(COLORREF crColor);
    static CBrush* PASCAL FromHandle(HBRUSH hBrush);

    BOOL CreateSolidBrush(COLORREF crColor);
    BOOL CreateBrushIndirect(const LOGBRUSH* lpLogBrush);
    // The system's brush for a colour index: a shared object that deletion ignores.
    BOOL CreateSysColorBrush(int nIndex);
    int GetLogBrush(LOGBRUSH* pLogBrush) { return GetObject(sizeof(LOGBRUSH), pLogBrush); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }  // NOLINT(google-explicit-constructor)
};

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    CFont() = default;
    static CFont* PASCAL FromHandle(HFONT hFont);

    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                    BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename);
    // nPointSize is in tenths of a point; the height is converted for pDC, or for the
    // screen (96 pixels per inch) without one.
    BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC = nullptr);
    // As above with lfHeight in tenths of a point.
    BOOL CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC = nullptr);
    int GetLogFont(LOGFONT* pLogFont) { return GetObject(sizeof(LOGFONT), pLogFont); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }  // NOLINT(google-explicit-constructor)
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    CBitmap() = default;
    static CBitmap* PASCAL FromHandle(HBITMAP hBitmap);

    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits);
    BOOL CreateBitmapIndirect(LPBITMAP lpBitmap);
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    BOOL CreateDiscardableBitmap(CDC* pDC, int nWidth, int nHeight) {
        return CreateCompatibleBitmap(pDC, nWidth, nHeight);
    }
    // A bitmap resource of the application, through the runtime's LoadBitmapW.
    BOOL LoadBitmap(LPCTSTR lpszResourceName);
    BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCE(nIDResource)); }
    int GetBitmap(BITMAP* pBitMap) { return GetObject(sizeof(BITMAP), pBitMap); }
    DWORD SetBitmapBits(DWORD dwCount, const void* lpBits);
    DWORD GetBitmapBits(DWORD dwCount, LPVOID lpBits) const;
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }  // NOLINT(google-explicit-constructor)
};

class CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)
public:
    CRgn() = default;
    static CRgn* PASCAL FromHandle(HRGN hRgn);

    BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
    BOOL CreateRectRgnIndirect(LPCRECT lpRect);
    int GetRgnBox(LPRECT lpRect) const;
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }  // NOLINT(google-explicit-constructor)
};

// ---- 3. CDC ------------------------------------------------------------------------------------
// Output goes to m_hDC; queries read m_hAttribDC; attribute changes go to both when
// they differ (they are the same handle except for print-preview style DCs).
class CDC : public CObject {
    DECLARE_DYNCREATE(CDC)
public:
    CDC() = default;
    // Deletes an attached DC (whether made by CreateCompatibleDC or attached).
    ~CDC() override;

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    BOOL m_bPrinting = FALSE;

    operator HDC() const { return m_hDC; }  // NOLINT(google-explicit-constructor)
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL IsPrinting() const { return m_bPrinting; }

    // Permanent or temporary wrapper, as for GDI objects (see the top of this file).
    static CDC* PASCAL FromHandle(HDC hDC);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HDC hDC);
    virtual HDC Detach();
    virtual void SetAttribDC(HDC hDC) { m_hAttribDC = hDC; }
    virtual void SetOutputDC(HDC hDC) { m_hDC = hDC; }
    virtual void ReleaseAttribDC() { m_hAttribDC = nullptr; }
    virtual void ReleaseOutputDC() { m_hDC = nullptr; }

    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();
    virtual int SaveDC();
    virtual BOOL RestoreDC(int nSavedDC);
    int GetDeviceCaps(int nIndex) const;

    // ---- selection: each returns the object the DC held before, as a C++ object ----
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    virtual CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    int SelectObject(CRgn* pRgn);  // the clip region's kind (SIMPLEREGION, ...)
    CGdiObject* SelectObject(CGdiObject* pObject);
    virtual CGdiObject* SelectStockObject(int nIndex);
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;

    // ---- attributes ----
    virtual COLORREF SetBkColor(COLORREF crColor);
    COLORREF GetBkColor() const;
    int SetBkMode(int nBkMode);
    int GetBkMode() const;
    virtual COLORREF SetTextColor(COLORREF crColor);
    COLORREF GetTextColor() const;
    int SetStretchBltMode(int nStretchMode);
    int GetStretchBltMode() const;
    int SetROP2(int nDrawMode);
    int GetROP2() const;
    virtual int SetMapMode(int nMapMode);
    int GetMapMode() const;
    CPoint SetBrushOrg(int x, int y);
    CPoint SetBrushOrg(POINT point) { return SetBrushOrg(point.x, point.y); }

    // ---- coordinates ----
    virtual CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }
    CPoint GetWindowOrg() const;
    CPoint OffsetWindowOrg(int nWidth, int nHeight);
    virtual CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
    CPoint GetViewportOrg() const;
    virtual CPoint OffsetViewportOrg(int nWidth, int nHeight);

    // ---- clipping ----
    virtual int IntersectClipRect(int x1, int y1, int x2, int y2);
    int IntersectClipRect(LPCRECT lpRect) {
        return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    int SelectClipRgn(CRgn* pRgn);
    virtual int GetClipBox(LPRECT lpRect) const;

    // ---- rectangles and lines ----
    // Sets the background colour to clr (and leaves it so) and fills with ExtTextOut.
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    // Top and left edges in the first colour, right and bottom in the second; the
    // top-right and bottom-left corner pixels take the second colour.
    void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void FillRect(LPCRECT lpRect, CBrush* pBrush);
    void FrameRect(LPCRECT lpRect, CBrush* pBrush);
    void DrawFocusRect(LPCRECT lpRect);
    BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags);
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(LPCRECT lpRect) { return Rectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
    CPoint MoveTo(int x, int y);  // returns the previous current position
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
    CPoint GetCurrentPosition() const;
    BOOL Polyline(const POINT* lpPoints, int nCount);
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT point) const { return GetPixel(point.x, point.y); }
    COLORREF SetPixel(int x, int y, COLORREF crColor);
    COLORREF SetPixel(POINT point, COLORREF crColor) { return SetPixel(point.x, point.y, crColor); }
    BOOL SetPixelV(int x, int y, COLORREF crColor);
    BOOL SetPixelV(POINT point, COLORREF crColor) { return SetPixelV(point.x, point.y, crColor); }

    // ---- blits ----
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                    int nSrcHeight, DWORD dwRop);
    BOOL TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
                        int nSrcWidth, int nSrcHeight, UINT clrTransparent);
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop);

    // ---- text ----
    virtual BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount);
    BOOL TextOut(int x, int y, const CString& str) { return TextOut(x, y, str.GetString(), str.GetLength()); }
    virtual BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount,
                            LPINT lpDxWidths);
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str, LPINT lpDxWidths) {
        return ExtTextOut(x, y, nOptions, lpRect, str.GetString(), UINT(str.GetLength()), lpDxWidths);
    }
    // The height of the text drawn (or measured with DT_CALCRECT).
    virtual int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat);
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
        return DrawText(str.GetString(), str.GetLength(), lpRect, nFormat);
    }
    CSize GetTextExtent(LPCTSTR lpszString, int nCount) const;
    CSize GetTextExtent(const CString& str) const { return GetTextExtent(str.GetString(), str.GetLength()); }
    CSize GetOutputTextExtent(LPCTSTR lpszString, int nCount) const;
    CSize GetOutputTextExtent(const CString& str) const {
        return GetOutputTextExtent(str.GetString(), str.GetLength());
    }
    BOOL GetTextMetrics(TEXTMETRIC* lpMetrics) const;
    int GetTextFace(int nCount, LPTSTR lpszFacename) const;
    int GetTextFace(CString& rString) const;

    // DrawState of text (bPrefixText chooses DST_PREFIXTEXT over DST_TEXT; nTextLen 0
    // means up to the terminating zero), with DSS_ state flags in nFlags. As with MFC,
    // the brush argument must be typed when it is given (HBRUSH or CBrush*).
    BOOL DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText = TRUE, int nTextLen = 0,
                   HBRUSH hBrush = nullptr);
    BOOL DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText = TRUE, int nTextLen = 0,
                   CBrush* pBrush = nullptr);
    BOOL DrawState(CPoint pt, CSize size, const CString& str, UINT nFlags, BOOL bPrefixText = TRUE, int nTextLen = 0,
                   HBRUSH hBrush = nullptr);
    BOOL DrawState(CPoint pt, CSize size, const CString& str, UINT nFlags, BOOL bPrefixText = TRUE, int nTextLen = 0,
                   CBrush* pBrush = nullptr);

private:
    friend struct AfxHandleMapAccess;
    bool m_bTemporary = false;  // owned by the thread's temporary map
    HDC m_hTempKey = nullptr;
};

// ---- 4. CPaintDC, CClientDC, CWindowDC ------------------------------------------------------------
// BeginPaint in the constructor, EndPaint in the destructor.
class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* pWnd);  // raises CResourceException when BeginPaint fails
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd = nullptr;
};

// GetDC of the window's client area (of the screen for a null window); released on destruction.
class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd = nullptr;
};

// GetWindowDC of the whole window (of the screen for a null window).
class CWindowDC : public CDC {
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd = nullptr;
};

// ---- 5. AfxDeleteTempMaps ---------------------------------------------------------------------------
// Frees this thread's temporary GDI object and DC wrappers without deleting their
// handles. The message loop calls it when idle; pointers FromHandle returned for
// handles without a permanent object are invalid afterwards.
void AfxDeleteTempMaps();
