// Run-time class information and the exception objects.
#include <gtest/gtest.h>

#include <new>
#include <utility>
#include <vector>

#include "platform.h"

namespace {

class CAnimal : public CObject {
    DECLARE_DYNAMIC(CAnimal)
};
IMPLEMENT_DYNAMIC(CAnimal, CObject)

class CDog : public CAnimal {
    DECLARE_DYNCREATE(CDog)
public:
    int legs = 4;
};
IMPLEMENT_DYNCREATE(CDog, CAnimal)

TEST(Exceptions, ThrownByPointerAndCaughtAsBase) {
    struct Row {
        const char* name;
        void (*thrower)();
        CRuntimeClass* cls;
    };
    const Row rows[] = {
        {"invalid argument", AfxThrowInvalidArgException, RUNTIME_CLASS(CInvalidArgException)},
        {"memory", AfxThrowMemoryException, RUNTIME_CLASS(CMemoryException)},
        {"not supported", AfxThrowNotSupportedException, RUNTIME_CLASS(CNotSupportedException)},
        {"resource", AfxThrowResourceException, RUNTIME_CLASS(CResourceException)},
    };
    CException* memory = nullptr;  // preallocated: Delete does not free it, the next throw reuses it
    for (int round = 0; round < 2; ++round) {
        for (const Row& r : rows) {
            CException* caught = nullptr;
            try {
                r.thrower();
            } catch (CException* e) {
                caught = e;
            }
            ASSERT_NE(nullptr, caught) << r.name;
            EXPECT_TRUE(caught->IsKindOf(r.cls)) << r.name;
            wchar_t message[64] = L"";
            EXPECT_TRUE(caught->GetErrorMessage(message, 64)) << r.name;
            EXPECT_NE(L'\0', message[0]) << r.name;
            if (r.thrower == AfxThrowMemoryException) {
                EXPECT_TRUE(round == 0 || memory == caught);
                memory = caught;
            }
            caught->Delete();
        }
    }
}

}  // namespace

// Objects come from blocks kept by size: a block must never be handed to two live
// objects, and every form of new (plain, nothrow, placement) must reach a usable object.
class CTagged : public CObject {
public:
    explicit CTagged(int tag) : m_tag(tag) { m_check = ~tag; }
    bool Intact(int tag) const { return m_tag == tag && m_check == ~tag; }
    char m_pad[40] = {};  // a size of its own, next to CDC/CFont-sized classes

private:
    int m_tag;
    int m_check;
};

TEST(ObjectMemory, LiveObjectsNeverShareABlock) {
    std::vector<std::pair<CObject*, int>> live;
    for (int round = 0; round < 200; ++round) {
        // Mixed sizes, some kept alive, some freed at once, so freed blocks are reused.
        auto* tagged = (round % 3 == 0) ? new (std::nothrow) CTagged(round) : new CTagged(round);
        ASSERT_NE(nullptr, tagged);
        live.emplace_back(tagged, round);
        delete new CDog;
        delete new CFont;
        if (round % 4 == 1) {
            delete live.front().first;
            live.erase(live.begin());
        }
        for (const auto& [object, tag] : live) ASSERT_TRUE(static_cast<CTagged*>(object)->Intact(tag)) << round;
    }
    for (const auto& entry : live) delete entry.first;

    alignas(CDog) unsigned char storage[sizeof(CDog)];
    CDog* placed = new (storage) CDog;  // placement new still constructs in place
    EXPECT_EQ(static_cast<void*>(storage), static_cast<void*>(placed));
    EXPECT_TRUE(placed->IsKindOf(RUNTIME_CLASS(CAnimal)));
    placed->~CDog();
}
