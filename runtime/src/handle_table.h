// The one handle table behind GDI objects, windows and menus.
//
// A handle value is  tag | generation << Layout::kGenerationShift | (slot + 1).  A slot
// remembers the live value it handed out, so one compare checks slot, generation and tag
// at once: a handle whose object was destroyed, or a value of another table or kind, looks
// up as null instead of reaching another object. Free slots hold 0, which no handle equals.
// Freed slots are reused last-freed first, their generation advanced (back to 1 after
// Layout::kMaxGeneration), so a reused slot hands out a new value.
//
// Plain data: a table in static storage is zero before any static constructor runs, is
// reached without a guard on every lookup, and has no destructor; its owner calls Clear
// when the objects must go. Used from the user-interface thread only, like the rest of
// the runtime: no locks.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>

namespace rt {

// Layout: kSlotBits (the slot part of a value), kGenerationShift, kMaxGeneration, kMaxSlots.
template <class T, class Layout>
class HandleTable {
public:
    static constexpr uint64_t kSlotMask = (uint64_t(1) << Layout::kSlotBits) - 1;
    static_assert(Layout::kMaxSlots <= kSlotMask, "slot numbers must fit their bits");

    constexpr HandleTable() = default;
    HandleTable(const HandleTable&) = delete;  // it owns its objects
    HandleTable& operator=(const HandleTable&) = delete;

    T* Lookup(uint64_t value) const {
        const uint64_t index = (value & kSlotMask) - 1;  // the null handle wraps to out of range
        if (index >= count_) return nullptr;
        const Slot& s = slots_[index];
        return s.handle == value ? s.obj : nullptr;
    }

    // Takes obj under a new value (tag ORed in, outside the slot and generation bits);
    // 0 when the table is full or out of memory, obj then destroyed.
    uint64_t Insert(std::unique_ptr<T> obj, uint64_t tag = 0) {
        if (!obj) return 0;
        uint32_t index;
        if (freeHead_) {
            index = freeHead_ - 1;
            freeHead_ = slots_[index].nextFree;
        } else {
            if (count_ == capacity_ && !Grow()) return 0;
            index = count_++;
            slots_[index] = Slot{0, nullptr, 1, 0};
        }
        Slot& s = slots_[index];
        s.handle = tag | (uint64_t(s.generation) << Layout::kGenerationShift) | (uint64_t(index) + 1);
        s.obj = obj.release();
        ++live_;
        return s.handle;
    }

    // Frees the slot of a live value and hands its object back: the value is stale before
    // the object's destructor runs, so a destructor that looks up handles cannot find it.
    // Null for a value that is not live.
    std::unique_ptr<T> Remove(uint64_t value) {
        T* obj = Lookup(value);
        if (!obj) return nullptr;
        const uint32_t index = uint32_t((value & kSlotMask) - 1);
        Slot& s = slots_[index];
        s.handle = 0;
        s.obj = nullptr;
        s.generation = s.generation >= Layout::kMaxGeneration ? 1 : s.generation + 1;
        s.nextFree = freeHead_;
        freeHead_ = index + 1;
        --live_;
        return std::unique_ptr<T>(obj);
    }

    template <class F>
    void ForEach(F&& f) const {
        for (uint32_t i = 0; i < count_; ++i) {
            if (slots_[i].obj) f(slots_[i].obj);
        }
    }

    int Count() const { return live_; }

    // Destroys every object still alive, each after its slot is free (a destructor may look
    // up the others), then the slots; the table is empty and usable again.
    void Clear() {
        for (uint32_t i = 0; i < count_; ++i) {
            Slot& s = slots_[i];
            if (!s.obj) continue;
            std::unique_ptr<T> dead(s.obj);
            s.handle = 0;
            s.obj = nullptr;
        }
        delete[] slots_;
        slots_ = nullptr;
        count_ = capacity_ = freeHead_ = 0;
        live_ = 0;
    }

private:
    struct Slot {
        uint64_t handle;
        T* obj;
        uint32_t generation;
        uint32_t nextFree;  // free slots: the next free slot + 1, or 0
    };

    bool Grow() {
        if (count_ >= Layout::kMaxSlots) return false;
        const uint32_t capacity = std::min<uint32_t>(capacity_ ? capacity_ * 2 : 256, Layout::kMaxSlots);
        auto* slots = new (std::nothrow) Slot[capacity];
        if (!slots) return false;
        std::copy(slots_, slots_ + count_, slots);
        delete[] slots_;
        slots_ = slots;
        capacity_ = capacity;
        return true;
    }

    Slot* slots_ = nullptr;
    uint32_t count_ = 0;
    uint32_t capacity_ = 0;
    uint32_t freeHead_ = 0;  // first free slot + 1, or 0
    int live_ = 0;
};

// Windows and menus: values below 2^32, as on the platform, with the slot in the low 16
// bits and at most 0xFFFE slots. The top bit is left for a tag: menus set it, so that a
// menu value is never a window's.
struct UserHandleLayout {
    static constexpr int kSlotBits = 16;
    static constexpr int kGenerationShift = 16;
    static constexpr uint32_t kMaxGeneration = 0x7FFF;
    static constexpr uint32_t kMaxSlots = 0xFFFE;
};

}  // namespace rt
