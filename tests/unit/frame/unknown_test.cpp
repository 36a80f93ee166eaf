// The reference-counted base: naming and counting.
#include <gtest/gtest.h>

#include "frame/Unknown.h"

namespace {

struct Counted : CUnknown {
    explicit Counted(int* deaths) : deaths_(deaths) {}
    ~Counted() override { ++*deaths_; }
    int* deaths_;
};

TEST(Unknown, CountsReferencesAndKnowsOnlyIUnknown) {
    int deaths = 0;
    auto* p = new Counted(&deaths);
    EXPECT_EQ(1u, p->AddRef());
    void* out = reinterpret_cast<void*>(0x1234);
    const IID other = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    EXPECT_EQ(E_FAIL, p->QueryInterface(other, &out));
    EXPECT_EQ(reinterpret_cast<void*>(0x1234), out) << "the out pointer is left untouched";
    EXPECT_EQ(S_OK, p->QueryInterface(IID_IUnknown, &out));
    EXPECT_EQ(static_cast<IUnknown*>(p), out);
    IUnknown* self = nullptr;
    EXPECT_EQ(S_OK, p->GetSelf(&self));
    EXPECT_EQ(3, p->GetRefCount());
    EXPECT_EQ(2u, p->Release());
    EXPECT_EQ(1u, p->Release());
    EXPECT_EQ(0, deaths);
    EXPECT_EQ(0u, p->Release());
    EXPECT_EQ(1, deaths) << "the last release deletes through the virtual destructor";
}

}  // namespace
