// The per-thread handle maps and the GDI object wrappers.
//
// Index
//   1. Handle maps      permanent and temporary wrappers, per thread
//   2. CGdiObject
//   3. CPen, CBrush, CFont, CBitmap, CRgn
#include <cstdlib>
#include <functional>
#include <new>
#include <typeinfo>
#include <unordered_map>
#include <utility>

#include "afx/afxmenu.h"
#include "afx_maps.h"
#include "../recycle.h"

// ---- 1. Handle maps ----------------------------------------------------------------------------
namespace {

// Map nodes of one thread, recycled: a wrapper attached and detached on every paint (a
// memory DC, a font) reuses the node of the last one instead of reaching the heap.
// Only single nodes are kept; bucket arrays come and go with the heap as usual.
class NodePool {
public:
    NodePool() = default;
    NodePool(const NodePool&) = delete;
    NodePool& operator=(const NodePool&) = delete;
    ~NodePool() {
        while (Block* b = m_head) {
            m_head = b->next;
            ::operator delete(b);
        }
    }
    void* Take(size_t size) {
        if (size == m_size && m_head) {
            Block* b = m_head;
            m_head = b->next;
            return b;
        }
        return ::operator new(size);
    }
    void Give(void* p, size_t size) {
        if (m_size == 0 && size >= sizeof(Block)) m_size = size;
        if (!rtmem::kRecycle || size != m_size) return ::operator delete(p);
        m_head = new (p) Block{m_head};
    }

private:
    struct Block {
        Block* next;
    };
    size_t m_size = 0;  // the node size of the maps (every map here has the same)
    Block* m_head = nullptr;
};

template <class T>
struct NodeAllocator {
    using value_type = T;
    explicit NodeAllocator(NodePool* pool) : pool(pool) {}
    template <class U>
    NodeAllocator(const NodeAllocator<U>& other) : pool(other.pool) {}
    T* allocate(size_t n) { return static_cast<T*>(n == 1 ? pool->Take(sizeof(T)) : ::operator new(n * sizeof(T))); }
    void deallocate(T* p, size_t n) {
        if (n == 1)
            pool->Give(p, sizeof(T));
        else
            ::operator delete(p);
    }
    template <class U>
    bool operator==(const NodeAllocator<U>& other) const {
        return pool == other.pool;
    }
    template <class U>
    bool operator!=(const NodeAllocator<U>& other) const {
        return pool != other.pool;
    }
    NodePool* pool;
};

// A handle has at most one permanent wrapper. Temporary wrappers are filed under the
// handle they were made for; a handle can have several of different classes (a
// CGdiObject and a CFont), and a temporary that was detached stays filed, with a null
// m_hObject, until the cleanup frees it.
template <class Handle, class Wrapper>
struct HandleMap {
    using Permanent = std::unordered_map<Handle, Wrapper*, std::hash<Handle>, std::equal_to<Handle>,
                                         NodeAllocator<std::pair<const Handle, Wrapper*>>>;
    using Temporary = std::unordered_multimap<Handle, Wrapper*, std::hash<Handle>, std::equal_to<Handle>,
                                              NodeAllocator<std::pair<const Handle, Wrapper*>>>;
    explicit HandleMap(NodePool* pool)
        : permanent(0, std::hash<Handle>(), std::equal_to<Handle>(), typename Permanent::allocator_type(pool)),
          temporary(0, std::hash<Handle>(), std::equal_to<Handle>(), typename Temporary::allocator_type(pool)) {}
    Permanent permanent;
    Temporary temporary;
};

// The runtime is loaded with the program, never opened later: its thread storage is
// reached directly instead of through the dynamic loader on every map access.
struct ThreadMaps;
[[gnu::tls_model("initial-exec")]] thread_local bool t_maps_destroyed = false;

struct ThreadMaps {
    NodePool nodes;  // first: outlives the maps
    HandleMap<HGDIOBJ, CGdiObject> gdi{&nodes};
    HandleMap<HDC, CDC> dc{&nodes};
    ~ThreadMaps();
};

// Null while the thread is exiting and its maps are gone: wrappers destroyed that
// late (statics) then only release their handles.
ThreadMaps* Maps() {
    if (t_maps_destroyed) return nullptr;
    [[gnu::tls_model("initial-exec")]] thread_local ThreadMaps maps;
    return &maps;
}

}  // namespace

// Access to the wrappers' private bookkeeping, for the map code here and in afx_dc.cpp.
struct AfxHandleMapAccess {
    template <class Wrapper>
    static void MarkTemporary(Wrapper* p, decltype(p->m_hTempKey) key) {
        p->m_bTemporary = true;
        p->m_hTempKey = key;
    }
    template <class Wrapper>
    static bool IsTemporary(const Wrapper* p) {
        return p->m_bTemporary;
    }
    // Takes a temporary out of its map, if it is still there.
    template <class Handle, class Wrapper>
    static void ForgetTemporary(HandleMap<Handle, Wrapper>& map, Wrapper* p) {
        if (!p->m_bTemporary) return;
        auto range = map.temporary.equal_range(p->m_hTempKey);
        for (auto it = range.first; it != range.second; ++it) {
            if (it->second == p) {
                map.temporary.erase(it);
                break;
            }
        }
        p->m_bTemporary = false;
    }
    // Frees every temporary of the map; their handles are detached first, so kept.
    template <class Handle, class Wrapper>
    static void DeleteTemporaries(HandleMap<Handle, Wrapper>& map) {
        typename HandleMap<Handle, Wrapper>::Temporary doomed(0, map.temporary.hash_function(), map.temporary.key_eq(),
                                                              map.temporary.get_allocator());
        doomed.swap(map.temporary);
        for (auto& entry : doomed) {
            Wrapper* p = entry.second;
            p->m_bTemporary = false;
            p->Detach();
            delete p;
        }
    }
};

namespace {

ThreadMaps::~ThreadMaps() {
    AfxHandleMapAccess::DeleteTemporaries(gdi);
    AfxHandleMapAccess::DeleteTemporaries(dc);
    t_maps_destroyed = true;
}

template <class Handle, class Wrapper>
void AddPermanent(HandleMap<Handle, Wrapper>& map, Handle h, Wrapper* p) {
    map.permanent[h] = p;
}

template <class Handle, class Wrapper>
void RemovePermanent(HandleMap<Handle, Wrapper>& map, Handle h, Wrapper* p) {
    auto it = map.permanent.find(h);
    if (it != map.permanent.end() && it->second == p) map.permanent.erase(it);
}

// p as a T, or null. Wrappers are mostly exactly a T: that is checked first, cheaply.
template <class T, class Wrapper>
T* AsWrapper(Wrapper* p) {
    if (typeid(*p) == typeid(T)) return static_cast<T*>(p);
    return dynamic_cast<T*>(p);
}

// The permanent wrapper of h if it is a T, else a live temporary T for h, else a new
// temporary T. MakeTemp attaches h to a fresh T without entering it as permanent.
template <class T, class Handle, class Wrapper, class MakeTemp>
T* LookupOrMakeTemporary(HandleMap<Handle, Wrapper>& map, Handle h, MakeTemp make_temp) {
    auto perm = map.permanent.find(h);
    if (perm != map.permanent.end()) {
        if (T* p = AsWrapper<T>(perm->second)) return p;
    }
    auto range = map.temporary.equal_range(h);
    for (auto it = range.first; it != range.second; ++it) {
        T* p = AsWrapper<T>(it->second);
        if (p && make_temp.Holds(p, h)) return p;
    }
    T* p = new T();
    make_temp.Attach(p, h);
    AfxHandleMapAccess::MarkTemporary(p, h);
    map.temporary.emplace(h, p);
    return p;
}

struct GdiTempMaker {
    static bool Holds(const CGdiObject* p, HGDIOBJ h) { return p->m_hObject == h; }
    static void Attach(CGdiObject* p, HGDIOBJ h) { p->m_hObject = h; }
};

template <class T>
T* GdiFromHandle(HGDIOBJ h) {
    if (!h) return nullptr;
    ThreadMaps* maps = Maps();
    if (!maps) return nullptr;
    return LookupOrMakeTemporary<T>(maps->gdi, h, GdiTempMaker{});
}

}  // namespace

namespace {
struct DcTempMaker {
    static bool Holds(const CDC* p, HDC h) { return p->m_hDC == h; }
    static void Attach(CDC* p, HDC h) {
        p->m_hDC = h;
        p->m_hAttribDC = h;
    }
};
}  // namespace

CDC* afx_internal::DcFromHandle(HDC hDC) {
    if (!hDC) return nullptr;
    ThreadMaps* maps = Maps();
    if (!maps) return nullptr;
    return LookupOrMakeTemporary<CDC>(maps->dc, hDC, DcTempMaker{});
}

void afx_internal::DcAddPermanent(HDC hDC, CDC* pDC) {
    if (ThreadMaps* maps = Maps()) AddPermanent(maps->dc, hDC, pDC);
}

void afx_internal::DcRemovePermanent(HDC hDC, CDC* pDC) {
    if (ThreadMaps* maps = Maps()) RemovePermanent(maps->dc, hDC, pDC);
}

void afx_internal::DcForgetTemporary(CDC* pDC) {
    if (ThreadMaps* maps = Maps()) AfxHandleMapAccess::ForgetTemporary(maps->dc, pDC);
}

void PASCAL CDC::DeleteTempMap() {
    if (ThreadMaps* maps = Maps()) AfxHandleMapAccess::DeleteTemporaries(maps->dc);
}

void AfxDeleteTempMaps() {
    CGdiObject::DeleteTempMap();
    CDC::DeleteTempMap();
    CMenu::DeleteTempMap();
}

// ---- 2. CGdiObject ---------------------------------------------------------------------------------
IMPLEMENT_DYNCREATE(CGdiObject, CObject)

CGdiObject::~CGdiObject() {
    DeleteObject();
    if (m_bTemporary) {
        if (ThreadMaps* maps = Maps()) AfxHandleMapAccess::ForgetTemporary(maps->gdi, this);
    }
}

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ hObject) {
    if (!hObject) return nullptr;
    switch (::GetObjectType(hObject)) {
        case OBJ_PEN:
            return GdiFromHandle<CPen>(hObject);
        case OBJ_BRUSH:
            return GdiFromHandle<CBrush>(hObject);
        case OBJ_FONT:
            return GdiFromHandle<CFont>(hObject);
        case OBJ_BITMAP:
            return GdiFromHandle<CBitmap>(hObject);
        case OBJ_REGION:
            return GdiFromHandle<CRgn>(hObject);
        default:
            return GdiFromHandle<CGdiObject>(hObject);
    }
}

void PASCAL CGdiObject::DeleteTempMap() {
    if (ThreadMaps* maps = Maps()) AfxHandleMapAccess::DeleteTemporaries(maps->gdi);
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    ASSERT(m_hObject == nullptr);  // detach the previous handle first
    if (!hObject) return FALSE;
    m_hObject = hObject;
    if (ThreadMaps* maps = Maps()) AddPermanent(maps->gdi, hObject, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    if (h) {
        if (ThreadMaps* maps = Maps()) RemovePermanent(maps->gdi, h, this);
    }
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
    return ::GetObject(m_hObject, nCount, lpObject);
}

UINT CGdiObject::GetObjectType() const {
    return static_cast<UINT>(::GetObjectType(m_hObject));
}

BOOL CGdiObject::CreateStockObject(int nIndex) {
    return Attach(::GetStockObject(nIndex));
}

BOOL CGdiObject::UnrealizeObject() {
    return m_hObject != nullptr;
}

// ---- 3. CPen, CBrush, CFont, CBitmap, CRgn ---------------------------------------------------------------
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) {
    if (!CreatePen(nPenStyle, nWidth, crColor)) AfxThrowResourceException();
}

CPen* PASCAL CPen::FromHandle(HPEN hPen) {
    return GdiFromHandle<CPen>(hPen);
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
    return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}

BOOL CPen::CreatePenIndirect(LOGPEN* lpLogPen) {
    return Attach(::CreatePenIndirect(lpLogPen));
}

CBrush::CBrush(COLORREF crColor) {
    if (!CreateSolidBrush(crColor)) AfxThrowResourceException();
}

CBrush* PASCAL CBrush::FromHandle(HBRUSH hBrush) {
    return GdiFromHandle<CBrush>(hBrush);
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) {
    return Attach(::CreateSolidBrush(crColor));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush) {
    return Attach(::CreateBrushIndirect(lpLogBrush));
}

BOOL CBrush::CreateSysColorBrush(int nIndex) {
    return Attach(::GetSysColorBrush(nIndex));
}

CFont* PASCAL CFont::FromHandle(HFONT hFont) {
    return GdiFromHandle<CFont>(hFont);
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
    return Attach(::CreateFontIndirect(lpLogFont));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                       BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename) {
    return Attach(::CreateFont(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline, cStrikeOut,
                               nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC) {
    LOGFONT lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nPointSize;
    if (lpszFaceName) {
        wcsncpy(lf.lfFaceName, lpszFaceName, LF_FACESIZE - 1);  // the last slot stays zero
    }
    return CreatePointFontIndirect(&lf, pDC);
}

namespace {
constexpr int kScreenDpi = 96;

// a * b / c rounded to the nearest integer, halves away from zero (as MulDiv).
int MulDivRound(int a, int b, int c) {
    const long long num = static_cast<long long>(a) * b;
    long long q = num / c;
    const long long rem = num % c;
    if (2 * std::llabs(rem) >= std::llabs(c)) q += ((num < 0) != (c < 0)) ? -1 : 1;
    return static_cast<int>(q);
}
}  // namespace

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC) {
    if (!lpLogFont) return FALSE;
    LOGFONT lf = *lpLogFont;
    if (pDC && pDC->m_hAttribDC) {
        // Device pixels of the height, then logical units of the DC.
        POINT pts[2] = {{0, MulDivRound(::GetDeviceCaps(pDC->m_hAttribDC, LOGPIXELSY), lf.lfHeight, 720)}, {0, 0}};
        ::DPtoLP(pDC->m_hAttribDC, pts, 2);
        lf.lfHeight = -std::abs(pts[0].y - pts[1].y);
    } else {
        lf.lfHeight = -std::abs(MulDivRound(kScreenDpi, lf.lfHeight, 720));  // 72 points an inch, in tenths
    }
    return CreateFontIndirect(&lf);
}

CBitmap* PASCAL CBitmap::FromHandle(HBITMAP hBitmap) {
    return GdiFromHandle<CBitmap>(hBitmap);
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
    return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap) {
    if (!lpBitmap) return FALSE;
    return CreateBitmap(lpBitmap->bmWidth, lpBitmap->bmHeight, lpBitmap->bmPlanes, lpBitmap->bmBitsPixel,
                        lpBitmap->bmBits);
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return Attach(::CreateCompatibleBitmap(pDC ? pDC->m_hDC : nullptr, nWidth, nHeight));
}

BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName) {
    // Resources are the application's own: the null module stands for it here.
    return Attach(::LoadBitmap(nullptr, lpszResourceName));
}

DWORD CBitmap::SetBitmapBits(DWORD dwCount, const void* lpBits) {
    return static_cast<DWORD>(::SetBitmapBits(static_cast<HBITMAP>(m_hObject), dwCount, lpBits));
}

DWORD CBitmap::GetBitmapBits(DWORD dwCount, LPVOID lpBits) const {
    return static_cast<DWORD>(::GetBitmapBits(static_cast<HBITMAP>(m_hObject), LONG(dwCount), lpBits));
}

CRgn* PASCAL CRgn::FromHandle(HRGN hRgn) {
    return GdiFromHandle<CRgn>(hRgn);
}

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) {
    return Attach(::CreateRectRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) {
    return Attach(::CreateRectRgnIndirect(lpRect));
}

int CRgn::GetRgnBox(LPRECT lpRect) const {
    return ::GetRgnBox(static_cast<HRGN>(m_hObject), lpRect);
}
