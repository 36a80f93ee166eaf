#include "Skin.h"

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
    m_problems.clear();
    int64_t pixels_left = SkinLimits::kMaxSkinPixels;
    const bool ok = m_pPalette->Load(dir, &m_problems, &pixels_left);
    // Without its palette file the folder is no skin: the loaded one stays whole.
    if (ok) {
        m_dir = dir;
        m_pFactory->SetRoot(dir, pixels_left);
    }
    CComPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
    env->SetSkinPalette(m_pPalette);
    env->SetBitmapFactory(m_pFactory);
    return ok;
}

std::vector<std::string> CSkin::Problems() const {
    std::vector<std::string> all = m_problems;
    all.insert(all.end(), m_pFactory->problems.begin(), m_pFactory->problems.end());
    return all;
}
