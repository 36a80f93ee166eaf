// The host framework's services as the elements see them: the global environment
// with its skin palette and bitmap factory, the module manager with the data manager,
// and the view manager. The host library implements them (host/).
#pragma once

#include "Unknown.h"

// The skin palette: colours, fonts and bitmaps by key ("QuoteTab.Button").
// Fonts and bitmaps it returns stay its own; null means the key is missing.
class CSWPalette : public CUnknown {
public:
    virtual COLORREF GetColor(const wchar_t* key) = 0;
    virtual CFont* GetFont(const wchar_t* key) = 0;
    virtual CBitmap* GetBitmap(const wchar_t* key) = 0;
};

// The bitmap factory: skin bitmaps by folder and file name ("tab_control", "arrow.bmp").
// The bitmaps stay the factory's.
struct IBitmapFactory : public IUnknown {
    virtual CBitmap* GetBitmap(const wchar_t* key) = 0;                      // slot 3
    virtual BOOL HasFolder(const wchar_t* folder) = 0;                       // slot 4
    virtual const wchar_t* GetSkinRoot() = 0;                                // slot 5
    virtual BOOL Reload() = 0;                                               // slot 6
    virtual int GetLoadedCount() = 0;                                        // slot 7
    virtual CBitmap* GetFolderBitmap(const wchar_t* folder, const wchar_t* fileName) = 0;  // slot 8
};

// The data manager's export interface; AdjustDisplayText may rewrite a caption in place.
struct IDataMgrExport : public IUnknown {
    virtual BOOL IsReady() = 0;                                     // slot 3
    virtual int GetVersion() = 0;                                   // slot 4
    virtual BOOL Lookup(const wchar_t* key, CString* value) = 0;    // slot 5
    virtual BOOL SetEntry(const wchar_t* key, const wchar_t* value) = 0;  // slot 6
    virtual BOOL RemoveEntry(const wchar_t* key) = 0;               // slot 7
    virtual BOOL AdjustDisplayText(CString* text) = 0;              // slot 8
};

// The process-wide environment. The palette and the factory are held as IUnknown and
// turned into CSWPalette / IBitmapFactory by a run-time type cast.
class CGlobalEnv : public CUnknown {
public:
    static CComPtr<CGlobalEnv> GetGlobalEnv();

    IUnknown* GetSkinPalette() const { return m_pSkinPalette; }
    IUnknown* GetBitmapFactory() const { return m_pBitmapFactory; }
    HWND GetMainWnd() const { return m_hMainWnd; }

    // Host side: install or remove the services (the environment holds a reference).
    void SetSkinPalette(IUnknown* pPalette);
    void SetBitmapFactory(IUnknown* pFactory);
    void SetMainWnd(HWND hWnd) { m_hMainWnd = hWnd; }

    ~CGlobalEnv() override;

private:
    IUnknown* m_pSkinPalette = nullptr;
    IUnknown* m_pBitmapFactory = nullptr;
    HWND m_hMainWnd = nullptr;
};

// Class objects by class identifier string; the data manager is
// "{3C146F11-657F-4720-8868-5244AF3FC071}".
class CModuleLoaderManager {
public:
    static CModuleLoaderManager* Instance();  // null when no module manager runs
    // Nonzero on success, with an AddRef'd IUnknown stored in *pp.
    virtual int GetClassObject(const wchar_t* clsid, void** pp) = 0;

protected:
    virtual ~CModuleLoaderManager() = default;
};

class CViewManager {
public:
    // Hands a message to the element with identifier id (273 reaches its OnMenuCommand
    // with the command in the low word of wParam).
    static LRESULT SendExDataMessage(HWND hWnd, DWORD id, UINT msg, WPARAM wParam, LPARAM lParam);
};

// Element-side conveniences: each returns an AddRef'd pointer (released by the
// CComPtr), or null when the environment lacks that service.
inline CComPtr<CSWPalette> GetEnvSkinPalette() {
    CComPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
    return CComPtr<CSWPalette>(env ? dynamic_cast<CSWPalette*>(env->GetSkinPalette()) : nullptr);
}
inline CComPtr<IBitmapFactory> GetEnvBitmapFactory() {
    CComPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
    return CComPtr<IBitmapFactory>(env ? dynamic_cast<IBitmapFactory*>(env->GetBitmapFactory()) : nullptr);
}
inline HWND GetEnvMainWnd() {
    CComPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
    return env ? env->GetMainWnd() : nullptr;
}
