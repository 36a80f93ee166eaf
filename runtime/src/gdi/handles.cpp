// The GDI handle table and the memory it recycles. Handles are
// (generation << 32 | kind << 24 | slot + 1), so a handle that was deleted, or that
// belongs to another kind, is rejected instead of reaching freed memory.
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
#include <new>
#include <utility>

#include "../recycle.h"
#include "gdi_private.h"

namespace gdi {

HandleTable g_handles;

namespace {

bool g_closed = false;  // set at exit: nothing is kept for reuse any more

// ---- 1. Handle table -----------------------------------------------------------------
uint64_t Encode(uint32_t slot, uint32_t gen, Kind kind) {
    return (uint64_t(gen) << 32) | (uint64_t(kind) << 24) | uint64_t(slot + 1);
}

bool GrowSlots() {
    HandleTable& t = g_handles;
    if (t.count >= 0xFFFFFF) return false;
    const uint32_t capacity = t.capacity ? std::min<uint32_t>(t.capacity * 2, 0xFFFFFF) : 256;
    auto* slots = new (std::nothrow) HandleSlot[capacity];
    if (!slots) return false;
    for (uint32_t i = 0; i < t.count; ++i) slots[i] = t.slots[i];
    delete[] t.slots;
    t.slots = slots;
    t.capacity = capacity;
    return true;
}

}  // namespace

HGDIOBJ Insert(std::unique_ptr<Object> obj) {
    if (!obj) return nullptr;
    HandleTable& t = g_handles;
    uint32_t idx;
    if (t.freeHead) {
        idx = t.freeHead - 1;
        t.freeHead = t.slots[idx].nextFree;
    } else {
        if (t.count == t.capacity && !GrowSlots()) return nullptr;
        idx = t.count++;
        t.slots[idx] = HandleSlot{0, nullptr, 1, 0};
    }
    HandleSlot& s = t.slots[idx];
    s.handle = Encode(idx, s.generation, obj->kind);
    HGDIOBJ h = reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(s.handle));
    obj->handle = h;
    if (!obj->stock) t.live[size_t(obj->kind)]++;
    s.obj = obj.release();
    return h;
}

bool Remove(HGDIOBJ h) {
    Object* dead = Lookup(h, Kind::None);
    if (!dead) return false;
    HandleTable& t = g_handles;
    const uint32_t idx = uint32_t(reinterpret_cast<uintptr_t>(h) & 0xFFFFFF) - 1;
    HandleSlot& s = t.slots[idx];
    if (!dead->stock) t.live[size_t(dead->kind)]--;
    s.handle = 0;
    s.obj = nullptr;
    s.generation = s.generation + 1 == 0 ? 1 : s.generation + 1;
    s.nextFree = t.freeHead;
    t.freeHead = idx + 1;
    delete dead;  // destructors may look up other handles; the slot is already free
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

using Store = std::vector<uint32_t>;
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
        HandleTable& t = g_handles;
        g_closed = true;
        for (uint32_t i = 0; i < t.count; ++i) {
            HandleSlot& s = t.slots[i];
            if (!s.obj) continue;
            Object* dead = s.obj;
            s.handle = 0;
            s.obj = nullptr;
            delete dead;
        }
        delete[] t.slots;
        t = HandleTable{};
        g_stores.Clear();
        g_saveStacks.Clear();
        g_objectBlocks.Release();
    }
} g_teardown;

}  // namespace
}  // namespace gdi
