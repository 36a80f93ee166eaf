// Host-side control of the process-wide services: the module manager and the data
// manager behind it (a caption translation table, empty by default).
#pragma once

#include <map>
#include <string>

#include "frame/HostServices.h"

class CHostDataManager : public CUnknown, public IDataMgrExport {
public:
    // IUnknown comes from CUnknown; the interface's own entries forward to it.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override { return CUnknown::QueryInterface(riid, ppv); }
    ULONG STDMETHODCALLTYPE AddRef() override { return CUnknown::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return CUnknown::Release(); }

    BOOL IsReady() override { return TRUE; }
    int GetVersion() override { return 1; }
    BOOL Lookup(const wchar_t* key, CString* value) override;
    BOOL SetEntry(const wchar_t* key, const wchar_t* value) override;
    BOOL RemoveEntry(const wchar_t* key) override;
    // Replaces a caption found in the table by its translation; others stay as they are.
    BOOL AdjustDisplayText(CString* text) override;

private:
    std::map<std::wstring, std::wstring> m_table;
};

namespace host {
// Starts the module manager (with a data manager) or stops it; while stopped,
// CModuleLoaderManager::Instance() is null.
void StartModuleManager();
void StopModuleManager();
CHostDataManager* DataManager();  // null while stopped
}  // namespace host
