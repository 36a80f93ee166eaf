// CArray: MFC's index rules (CInvalidArgException thrown by pointer) and
// element lifetimes (every construction matched by one destruction).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform.h"

namespace {

// Counts live instances and catches use of destroyed ones. The text is long enough to
// live on the heap, so a raw byte copy or a double destruction shows under ASan too.
struct Counted {
    static int live;
    static int misuse;  // destruction or assignment of a dead object
    static constexpr unsigned kAlive = 0xA11CEu;

    Counted(int v = 0) : value(v), text(40, wchar_t(L'a' + (v % 26 + 26) % 26)) { ++live; }  // NOLINT
    Counted(const Counted& o) : value(o.value), text(o.text) { Check(o); ++live; }
    Counted(Counted&& o) noexcept : value(o.value), text(std::move(o.text)) { Check(o); ++live; }
    Counted& operator=(const Counted& o) { Check(*this); Check(o); value = o.value; text = o.text; return *this; }
    ~Counted() { Check(*this); magic = 0; --live; }
    static void Check(const Counted& c) { misuse += c.magic != kAlive; }

    unsigned magic = kAlive;
    int value;
    std::wstring text;
};
int Counted::live = 0;
int Counted::misuse = 0;

using CountedArray = CArray<Counted, const Counted&>;
using Op = std::function<void(CountedArray&)>;

std::vector<int> Values(const CountedArray& arr) {
    std::vector<int> out;
    for (INT_PTR i = 0; i < arr.GetSize(); ++i) out.push_back(arr[i].value);
    return out;
}

void Fill(CountedArray& arr, std::initializer_list<int> values) {
    for (int v : values) arr.Add(Counted(v));
}

class CArrayTest : public ::testing::Test {
protected:
    void SetUp() override { Counted::live = Counted::misuse = 0; }
    void TearDown() override {
        EXPECT_EQ(0, Counted::live) << "elements leaked or destroyed twice";
        EXPECT_EQ(0, Counted::misuse) << "a destroyed element was used";
    }
};

TEST_F(CArrayTest, OutOfRangeRaisesAndChangesNothing) {
    const Counted x(9);
    const std::pair<const char*, Op> rows[] = {
        {"GetAt(-1)", [](CountedArray& a) { a.GetAt(-1); }},
        {"GetAt(size)", [](CountedArray& a) { a.GetAt(3); }},
        {"SetAt(size)", [&](CountedArray& a) { a.SetAt(3, x); }},
        {"RemoveAt(-1)", [](CountedArray& a) { a.RemoveAt(-1); }},
        {"RemoveAt past end", [](CountedArray& a) { a.RemoveAt(1, 3); }},
        {"RemoveAt negative count", [](CountedArray& a) { a.RemoveAt(0, -1); }},
        {"InsertAt(-1)", [&](CountedArray& a) { a.InsertAt(-1, x); }},
        {"InsertAt count 0", [&](CountedArray& a) { a.InsertAt(0, x, 0); }},
        {"SetSize(-1)", [](CountedArray& a) { a.SetSize(-1); }},
    };
    for (const auto& [name, op] : rows) {
        CountedArray arr;
        Fill(arr, {1, 2, 3});
        bool raised = false;
        try {
            op(arr);
        } catch (CInvalidArgException* e) {
            raised = e->IsKindOf(RUNTIME_CLASS(CException));
            e->Delete();
        }
        EXPECT_TRUE(raised) << name;
        EXPECT_EQ((std::vector<int>{1, 2, 3}), Values(arr)) << name;
    }
}

TEST_F(CArrayTest, InsertAndRemoveKeepOrderAndLifetimes) {
    struct Row {
        const char* name;
        Op op;
        std::vector<int> expected;
    };
    const Row rows[] = {
        {"insert in the middle", [](CountedArray& a) { a.InsertAt(1, Counted(7), 2); }, {1, 7, 7, 2, 3}},
        {"insert at size appends", [](CountedArray& a) { a.InsertAt(3, Counted(7)); }, {1, 2, 3, 7}},
        {"insert own element", [](CountedArray& a) { a.InsertAt(0, a[2], 2); }, {3, 3, 1, 2, 3}},
        {"remove middle pair", [](CountedArray& a) { a.RemoveAt(1, 2); }, {1}},
        {"remove nothing at the end", [](CountedArray& a) { a.RemoveAt(3, 0); }, {1, 2, 3}},
        {"shrink", [](CountedArray& a) { a.SetSize(1); }, {1}},
        {"grow", [](CountedArray& a) { a.SetSize(5); }, {1, 2, 3, 0, 0}},
        {"copy replaces", [](CountedArray& a) { CountedArray o; Fill(o, {6}); a.Copy(o); }, {6}},
        {"remove all", [](CountedArray& a) { a.RemoveAll(); }, {}},
    };
    for (const Row& r : rows) {
        {
            CountedArray arr;
            Fill(arr, {1, 2, 3});
            r.op(arr);
            EXPECT_EQ(r.expected, Values(arr)) << r.name;
            EXPECT_EQ(int(r.expected.size()), Counted::live) << r.name << ": live elements";
        }
        EXPECT_EQ(0, Counted::live) << r.name << ": after destruction";
    }
}

}  // namespace
