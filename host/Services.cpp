#include "Services.h"

#include "HostWindow.h"

// ---- the global environment ------------------------------------------------------------------
CComPtr<CGlobalEnv> CGlobalEnv::GetGlobalEnv() {
    static CGlobalEnv* env = [] {
        auto* e = new CGlobalEnv;
        e->AddRef();  // the process keeps it for its whole life
        return e;
    }();
    return CComPtr<CGlobalEnv>(env);
}

CGlobalEnv::~CGlobalEnv() {
    SetSkinPalette(nullptr);
    SetBitmapFactory(nullptr);
}

void CGlobalEnv::SetSkinPalette(IUnknown* pPalette) {
    if (pPalette) pPalette->AddRef();
    if (m_pSkinPalette) m_pSkinPalette->Release();
    m_pSkinPalette = pPalette;
}

void CGlobalEnv::SetBitmapFactory(IUnknown* pFactory) {
    if (pFactory) pFactory->AddRef();
    if (m_pBitmapFactory) m_pBitmapFactory->Release();
    m_pBitmapFactory = pFactory;
}

// ---- the data manager ------------------------------------------------------------------------
BOOL CHostDataManager::Lookup(const wchar_t* key, CString* value) {
    if (!key) return FALSE;
    auto it = m_table.find(key);
    if (it == m_table.end()) return FALSE;
    if (value) *value = it->second.c_str();
    return TRUE;
}

BOOL CHostDataManager::SetEntry(const wchar_t* key, const wchar_t* value) {
    if (!key || !value) return FALSE;
    m_table[key] = value;
    return TRUE;
}

BOOL CHostDataManager::RemoveEntry(const wchar_t* key) { return key && m_table.erase(key) > 0; }

BOOL CHostDataManager::AdjustDisplayText(CString* text) {
    if (!text) return FALSE;
    auto it = m_table.find(std::wstring(text->GetString()));
    if (it == m_table.end()) return FALSE;
    *text = it->second.c_str();
    return TRUE;
}

// ---- the module manager ----------------------------------------------------------------------
namespace {
const wchar_t kDataManagerClsid[] = L"{3C146F11-657F-4720-8868-5244AF3FC071}";

class CHostModuleManager : public CModuleLoaderManager {
public:
    CHostModuleManager() : m_pData(new CHostDataManager) { m_pData->CUnknown::AddRef(); }
    ~CHostModuleManager() override { m_pData->CUnknown::Release(); }
    int GetClassObject(const wchar_t* clsid, void** pp) override {
        if (!clsid || !pp || std::wcscmp(clsid, kDataManagerClsid) != 0) return 0;
        m_pData->CUnknown::AddRef();
        *pp = static_cast<IUnknown*>(static_cast<IDataMgrExport*>(m_pData));
        return 1;
    }
    CHostDataManager* m_pData;
};

CHostModuleManager*& Manager() {
    static CHostModuleManager* manager = nullptr;  // the process's module manager, if started
    return manager;
}
}  // namespace

CModuleLoaderManager* CModuleLoaderManager::Instance() { return Manager(); }

namespace host {
void StartModuleManager() {
    if (!Manager()) Manager() = new CHostModuleManager;
}
void StopModuleManager() {
    delete Manager();
    Manager() = nullptr;
}
CHostDataManager* DataManager() { return Manager() ? Manager()->m_pData : nullptr; }
}  // namespace host

// ---- the view manager ------------------------------------------------------------------------
LRESULT CViewManager::SendExDataMessage(HWND, DWORD id, UINT msg, WPARAM wParam, LPARAM lParam) {
    for (CHostWindow* pHost : CHostWindow::AllHosts()) {
        CElementContainer* pElement = pHost->FindElement(id);
        if (!pElement) continue;
        if (!pElement->HostState()->IsRegistered(msg)) return 0;
        pElement->AddRef();
        const LRESULT result = msg == WM_COMMAND ? pElement->OnMenuCommand(LOWORD(wParam))
                                                 : pElement->OnUserMessage(msg, UINT(wParam), lParam);
        pElement->Release();
        return result;
    }
    return 0;
}
