// The GDI handle table. Handles are (generation << 32 | kind << 24 | slot + 1), so a
// handle that was deleted, or that belongs to another kind, is rejected instead of
// reaching freed memory.
#include <array>

#include "gdi_private.h"

namespace gdi {
namespace {

struct Slot {
    std::unique_ptr<Object> obj;
    uint32_t generation = 1;
};

struct Table {
    std::vector<Slot> slots;
    std::vector<uint32_t> freeSlots;
    std::array<int, static_cast<size_t>(Kind::Count)> live{};
    // Objects still alive at exit are destroyed while the table is intact: a DC's
    // destructor looks up the objects it has selected.
    ~Table() {
        for (Slot& s : slots) s.obj.reset();
    }
};

Table& table() {
    static Table t;  // the process-wide GDI object table, as on the platform
    return t;
}

uint64_t Encode(uint32_t slot, uint32_t gen, Kind kind) {
    return (uint64_t(gen) << 32) | (uint64_t(kind) << 24) | uint64_t(slot + 1);
}

Slot* Find(HGDIOBJ h) {
    const uint64_t v = reinterpret_cast<uintptr_t>(h);
    const uint32_t idx = uint32_t(v & 0xFFFFFF);
    if (idx == 0) return nullptr;
    Table& t = table();
    if (idx - 1 >= t.slots.size()) return nullptr;
    Slot& s = t.slots[idx - 1];
    if (!s.obj || s.generation != uint32_t(v >> 32) || uint32_t((v >> 24) & 0xFF) != uint32_t(s.obj->kind))
        return nullptr;
    return &s;
}

}  // namespace

HGDIOBJ Insert(std::unique_ptr<Object> obj) {
    if (!obj) return nullptr;
    Table& t = table();
    uint32_t idx;
    if (!t.freeSlots.empty()) {
        idx = t.freeSlots.back();
        t.freeSlots.pop_back();
    } else {
        if (t.slots.size() >= 0xFFFFFF) return nullptr;
        idx = uint32_t(t.slots.size());
        t.slots.emplace_back();
    }
    Slot& s = t.slots[idx];
    HGDIOBJ h = reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(Encode(idx, s.generation, obj->kind)));
    obj->handle = h;
    if (!obj->stock) t.live[size_t(obj->kind)]++;
    s.obj = std::move(obj);
    return h;
}

Object* Lookup(HGDIOBJ h, Kind kind) {
    Slot* s = Find(h);
    if (!s) return nullptr;
    if (kind != Kind::None && s->obj->kind != kind) return nullptr;
    return s->obj.get();
}

Kind KindOf(HGDIOBJ h) {
    Slot* s = Find(h);
    return s ? s->obj->kind : Kind::None;
}

bool Remove(HGDIOBJ h) {
    Slot* s = Find(h);
    if (!s) return false;
    Table& t = table();
    std::unique_ptr<Object> dead = std::move(s->obj);
    if (!dead->stock) t.live[size_t(dead->kind)]--;
    s->generation = s->generation + 1 == 0 ? 1 : s->generation + 1;
    t.freeSlots.push_back(uint32_t(s - t.slots.data()));
    dead.reset();  // destructors may look up other handles; the slot is already free
    return true;
}

int LiveCount(Kind kind) {
    if (kind == Kind::None || kind >= Kind::Count) return 0;
    return table().live[size_t(kind)];
}

}  // namespace gdi
