// The GDI handle table and the memory it recycles. Handles are
// (generation << 32 | kind << 24 | slot + 1), so a handle that was deleted, or that
// belongs to another kind, is rejected instead of reaching freed memory (handle_table.h).
//
// Index
//   1. Handle table
//   2. Object memory: freed objects' memory kept per size for the next object
//   3. Pixel storage and save stacks: freed bitmaps' pixels and DCs' SaveDC stacks
//      kept for the next bitmap or DC
//   4. Exit: objects still alive are destroyed, then the kept memory is freed
//
// All of it is plain data without constructors, as the platform's own table is: it is
// usable before any static constructor has run and costs no guard per lookup. GDI is
// used from one thread at a time here, as the table always assumed.
#include <algorithm>
#include <iterator>
#include <new>
#include <utility>

#include "../recycle.h"
#include "gdi_private.h"

namespace gdi {

Handles g_handles;

namespace {

bool g_closed = false;  // set at exit: nothing is kept for reuse any more

}  // namespace

// ---- 1. Handle table -----------------------------------------------------------------
HGDIOBJ Insert(std::unique_ptr<Object> obj) {
    if (!obj) return nullptr;
    Object* o = obj.get();
    const uint64_t v = g_handles.table.Insert(std::move(obj), uint64_t(o->kind) << 24);
    if (!v) return nullptr;
    o->handle = reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(v));
    if (!o->stock) g_handles.live[size_t(o->kind)]++;
    return o->handle;
}

bool Remove(HGDIOBJ h) {
    // Destroyed on return, after its slot is free: destructors may look up other handles.
    const std::unique_ptr<Object> dead = g_handles.table.Remove(reinterpret_cast<uintptr_t>(h));
    if (!dead) return false;
    if (!dead->stock) g_handles.live[size_t(dead->kind)]--;
    return true;
}

int LiveCount(Kind kind) {
    if (kind == Kind::None || kind >= Kind::Count) return 0;
    return g_handles.live[size_t(kind)];
}

// ---- 2. Object memory ------------------------------------------------------------------
namespace {

// One size class per object type is enough; 64 blocks is what a busy paint frees of one
// kind, with room.
rtmem::SizeClassPool<8, 64> g_objectBlocks;

}  // namespace

void* Object::operator new(size_t size) {
    if (void* p = g_objectBlocks.Take(size)) return p;
    return ::operator new(size);
}

void Object::operator delete(void* ptr, size_t size) {
    if (ptr && !g_objectBlocks.Keep(ptr, size)) ::operator delete(ptr);
}

// ---- 3. Pixel storage and save stacks -----------------------------------------------------
namespace {

// A few vectors kept for reuse, in raw storage so that the pool has no constructor.
template <class V, int N>
struct KeptVectors {
    alignas(V) unsigned char bytes[N][sizeof(V)];
    int count;

    V& At(int i) { return *std::launder(reinterpret_cast<V*>(bytes[i])); }
    void Drop(int i) {
        At(i).~V();
        for (int j = i + 1; j < count; ++j) {
            new (bytes[j - 1]) V(std::move(At(j)));
            At(j).~V();
        }
        --count;
    }
    void Keep(V&& v) {
        if (count == N) Drop(0);  // the oldest goes
        new (bytes[count++]) V(std::move(v));
    }
    // Swaps kept vector i into out and frees what out held.
    void Take(int i, V* out) {
        out->swap(At(i));
        Drop(i);
    }
    void Clear() {
        while (count > 0) Drop(count - 1);
    }
};

using Store = PixelStore;
constexpr size_t kMaxStorePixels = size_t(1) << 22;  // 16 MB: larger storage goes back at once
KeptVectors<Store, 4> g_stores;
KeptVectors<std::vector<DCState>, 4> g_saveStacks;

}  // namespace

void KeepStore(Store&& store) {
    if (!rtmem::kRecycle || g_closed || store.capacity() == 0 || store.capacity() > kMaxStorePixels) return;
    g_stores.Keep(std::move(store));
}

// The kept storage that fits pixels best, if one holds them without wasting more than
// half of itself.
bool TakeStore(size_t pixels, Store* out) {
    int best = -1;
    for (int i = 0; i < g_stores.count; ++i) {
        const size_t cap = g_stores.At(i).capacity();
        if (cap >= pixels && cap / 2 <= pixels && (best < 0 || cap < g_stores.At(best).capacity())) best = i;
    }
    if (best < 0) return false;
    g_stores.Take(best, out);
    return true;
}

void KeepSaveStack(std::vector<DCState>&& saved) {
    if (!rtmem::kRecycle || g_closed || saved.capacity() == 0 || saved.capacity() > 64) return;
    g_saveStacks.Keep(std::move(saved));
}

void TakeSaveStack(std::vector<DCState>* out) {
    if (g_saveStacks.count == 0) return;
    g_saveStacks.Take(g_saveStacks.count - 1, out);
    out->clear();
}

// ---- 4. Exit ---------------------------------------------------------------------------------
namespace {

// Objects still alive at exit are destroyed while the table is intact: a DC's destructor
// looks up the objects it has selected. Registered when the library starts, so it runs
// after the destructors of everything made later.
struct Teardown {
    ~Teardown() {
        g_closed = true;
        g_handles.table.Clear();
        std::fill(std::begin(g_handles.live), std::end(g_handles.live), 0);
        g_stores.Clear();
        g_saveStacks.Clear();
        g_objectBlocks.Release();
    }
} g_teardown;

}  // namespace
}  // namespace gdi
