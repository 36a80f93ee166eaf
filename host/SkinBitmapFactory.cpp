#include "SkinBitmapFactory.h"

#include <filesystem>

#include "utf8.h"
#include "win32/runtime_ext.h"

CSkinBitmapFactory::~CSkinBitmapFactory() = default;

HRESULT CSkinBitmapFactory::QueryInterface(REFIID riid, void** ppv) {
    if (!IsEqualIID(riid, IID_IUnknown)) return E_FAIL;
    if (!ppv) return E_POINTER;
    AddRef();
    *ppv = static_cast<IUnknown*>(this);
    return S_OK;
}
ULONG CSkinBitmapFactory::AddRef() {
    return ULONG(InterlockedIncrement(&m_lRefCount));
}
ULONG CSkinBitmapFactory::Release() {
    const LONG n = InterlockedDecrement(&m_lRefCount);
    if (n == 0) delete this;
    return ULONG(n);
}

void CSkinBitmapFactory::SetRoot(const std::string& dir, int64_t pixel_budget) {
    m_root = dir;
    m_rootWide = rt::Utf8ToWide(dir);
    m_pixelBudget = pixel_budget;
    // Only the pictures asked for so far are read again; the others load when first asked.
    Reload();
}

CSkinBitmapFactory::Entry& CSkinBitmapFactory::CacheEntry(const std::wstring& relative_path) {
    Entry& entry = m_cache[relative_path];
    m_index.emplace(relative_path, &entry);  // map entries never move
    return entry;
}

CSkinBitmapFactory::Entry& CSkinBitmapFactory::LoadEntry(const std::wstring& relative_path) {
    Entry& entry = CacheEntry(relative_path);
    if (!entry.bitmap) entry.bitmap = std::make_unique<CBitmap>();
    const std::string relative = rt::WideToUtf8(relative_path);
    std::string path, error;
    // A file this skin does not have is only missing (the caller asked for a name); one it
    // has but cannot use is a problem. Either way a picture loaded before stays.
    const bool exists = ResolveSkinFile(m_root, relative, &path, &error);
    HBITMAP hbm = exists ? LoadSkinImage(m_root, relative, &m_pixelsLeft, &error) : nullptr;
    if (hbm) {
        SwapHandle(entry.bitmap.get(), hbm);
        entry.present = true;
    } else if (exists || entry.present) {
        problems.push_back(error + (entry.present ? "; the previous picture is kept" : ""));
    }
    return entry;
}

CBitmap* CSkinBitmapFactory::Find(std::wstring_view folder, std::wstring_view fileName) {
    if (fileName.empty()) return nullptr;
    m_keyBuffer.assign(folder).append(1, L'/').append(fileName);
    // A name that climbs out of the skin folder is not a skin bitmap.
    if (m_keyBuffer.find(L"..") != std::wstring::npos) return nullptr;
    auto it = m_index.find(m_keyBuffer);
    if (it == m_index.end() && m_cache.size() >= SkinLimits::kMaxFactoryNames) {
        NoteMissing(&m_missing, m_keyBuffer);
        return nullptr;
    }
    // LoadEntry may insert into the cache, so it gets its own copy of the key.
    Entry& entry = it != m_index.end() ? *it->second : LoadEntry(std::wstring(m_keyBuffer));
    if (entry.present) return entry.bitmap.get();
    NoteMissing(&m_missing, m_keyBuffer);
    return nullptr;
}

CBitmap* CSkinBitmapFactory::GetFolderBitmap(const wchar_t* folder, const wchar_t* fileName) {
    if (!folder || !fileName) return nullptr;
    return Find(folder, fileName);
}

CBitmap* CSkinBitmapFactory::GetBitmap(const wchar_t* key) {
    if (!key) return nullptr;
    const std::wstring_view k(key);
    const size_t slash = k.find(L'/');
    if (slash == std::wstring_view::npos) return nullptr;
    return Find(k.substr(0, slash), k.substr(slash + 1));
}

BOOL CSkinBitmapFactory::HasFolder(const wchar_t* folder) {
    if (!folder || !*folder) return FALSE;
    const std::string name = rt::WideToUtf8(folder);
    if (name.find("..") != std::string::npos || name[0] == '/') return FALSE;
    std::error_code ec;
    return std::filesystem::is_directory(std::filesystem::u8path(m_root + "/" + name), ec) ? TRUE : FALSE;
}

const wchar_t* CSkinBitmapFactory::GetSkinRoot() {
    return m_rootWide.c_str();
}

BOOL CSkinBitmapFactory::Reload() {
    m_pixelsLeft = m_pixelBudget;
    problems.clear();
    m_missing.clear();
    for (auto& [rel, entry] : m_cache) LoadEntry(rel);
    return TRUE;
}

int CSkinBitmapFactory::GetLoadedCount() {
    int n = 0;
    for (auto& [rel, entry] : m_cache) n += entry.present ? 1 : 0;
    return n;
}
