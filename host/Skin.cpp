#include "Skin.h"

// ---- CSkin --------------------------------------------------------------------------------
CSkin::CSkin() : m_pPalette(new CSkinPalette), m_pFactory(new CSkinBitmapFactory) {
    m_pPalette->AddRef();
    m_pFactory->AddRef();
}

CSkin::~CSkin() {
    CComPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
    if (env && env->GetSkinPalette() == static_cast<IUnknown*>(m_pPalette)) env->SetSkinPalette(nullptr);
    if (env && env->GetBitmapFactory() == static_cast<IUnknown*>(m_pFactory)) env->SetBitmapFactory(nullptr);
    m_pPalette->Release();
    m_pFactory->Release();
}

bool CSkin::Load(const std::string& dir) {
    m_dir = dir;
    m_problems.clear();
    const bool ok = m_pPalette->Load(dir, &m_problems);
    m_pFactory->SetRoot(dir);
    for (const std::string& p : m_pFactory->problems) m_problems.push_back(p);
    CComPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
    env->SetSkinPalette(m_pPalette);
    env->SetBitmapFactory(m_pFactory);
    return ok;
}
