#include "SkinBitmapFactory.h"

#include <dirent.h>
#include <sys/stat.h>

#include "SkinFiles.h"
#include "utf8.h"

using skinfiles::FileExists;
using skinfiles::LoadSkinBitmap;
using skinfiles::SwapHandle;

// ---- CSkinBitmapFactory ----------------------------------------------------------------
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

void CSkinBitmapFactory::SetRoot(const std::string& dir) {
    m_root = dir;
    m_rootWide = rt::Utf8ToWide(dir);
    // Every folder bitmap is read now, so that no paint ever loads (and so creates) a
    // GDI object: a paint that leaves an object behind is a leak, whatever the cause.
    if (DIR* root = ::opendir(dir.c_str())) {
        while (dirent* folder = ::readdir(root)) {
            const std::string name = folder->d_name;
            if (name == "." || name == "..") continue;
            DIR* sub = ::opendir((dir + "/" + name).c_str());
            if (!sub) continue;
            while (dirent* file = ::readdir(sub)) {
                const std::string f = file->d_name;
                if (f.size() > 4 &&
                    (f.compare(f.size() - 4, 4, ".bmp") == 0 || f.compare(f.size() - 4, 4, ".BMP") == 0))
                    CacheEntry(rt::Utf8ToWide(name + "/" + f));
            }
            ::closedir(sub);
        }
        ::closedir(root);
    }
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
    const std::string path = m_root + "/" + rt::WideToUtf8(relative_path);
    entry.present = false;
    if (!FileExists(path)) return entry;
    std::string error;
    HBITMAP hbm = LoadSkinBitmap(path, &error);
    if (!hbm) {
        problems.push_back(path + ": " + error);
        return entry;
    }
    SwapHandle(entry.bitmap.get(), hbm);
    entry.present = true;
    return entry;
}

CBitmap* CSkinBitmapFactory::Find(std::wstring_view folder, std::wstring_view fileName) {
    if (fileName.empty()) return nullptr;
    m_keyBuffer.assign(folder).append(1, L'/').append(fileName);
    // A name that climbs out of the skin folder is not a skin bitmap.
    if (m_keyBuffer.find(L"..") != std::wstring::npos) return nullptr;
    auto it = m_index.find(m_keyBuffer);
    // LoadEntry may insert into the cache, so it gets its own copy of the key.
    Entry& entry = it != m_index.end() ? *it->second : LoadEntry(std::wstring(m_keyBuffer));
    if (entry.present) return entry.bitmap.get();
    m_missing.insert(m_keyBuffer);
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
    if (!folder) return FALSE;
    struct stat st {};
    return ::stat((m_root + "/" + rt::WideToUtf8(folder)).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

const wchar_t* CSkinBitmapFactory::GetSkinRoot() {
    return m_rootWide.c_str();
}

BOOL CSkinBitmapFactory::Reload() {
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
