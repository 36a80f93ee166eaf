// CArray and CMap: MFC's index rules (CInvalidArgException thrown by pointer) and
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

    Counted() : Counted(0) {}
    Counted(int v) : value(v), text(40, wchar_t(L'a' + (v % 26 + 26) % 26)) { ++live; }  // NOLINT
    Counted(const Counted& o) : value(o.value), text(o.text) {
        Check(o);
        ++live;
    }
    Counted(Counted&& o) noexcept : value(o.value), text(std::move(o.text)) {
        Check(o);
        ++live;
    }
    Counted& operator=(const Counted& o) {
        Check(*this);
        Check(o);
        value = o.value;
        text = o.text;
        return *this;
    }
    Counted& operator=(Counted&& o) noexcept {
        Check(*this);
        Check(o);
        value = o.value;
        text = std::move(o.text);
        return *this;
    }
    ~Counted() {
        Check(*this);
        magic = 0;
        --live;
    }
    static void Check(const Counted& c) {
        if (c.magic != kAlive) ++misuse;
    }
    bool operator==(const Counted& o) const { return value == o.value; }

    unsigned magic = kAlive;
    int value;
    std::wstring text;
};
int Counted::live = 0;
int Counted::misuse = 0;

using CountedArray = CArray<Counted, const Counted&>;

std::vector<int> Values(const CountedArray& arr) {
    std::vector<int> out;
    for (INT_PTR i = 0; i < arr.GetSize(); ++i) out.push_back(arr[i].value);
    return out;
}

template <class F>
bool RaisesInvalidArgument(F f) {
    try {
        f();
    } catch (CInvalidArgException* e) {
        e->Delete();
        return true;
    }
    return false;
}

void Fill(CountedArray& arr, std::initializer_list<int> values) {
    for (int v : values) arr.Add(Counted(v));
}

class CArrayTest : public ::testing::Test {
protected:
    void SetUp() override {
        Counted::live = 0;
        Counted::misuse = 0;
    }
    void TearDown() override {
        EXPECT_EQ(0, Counted::live) << "elements leaked or destroyed twice";
        EXPECT_EQ(0, Counted::misuse) << "a destroyed element was used";
    }
};

TEST_F(CArrayTest, OutOfRangeRaisesAndChangesNothing) {
    struct Row {
        const char* name;
        std::function<void(CountedArray&)> op;
    };
    const Counted x(9);
    const Row rows[] = {
        {"GetAt(-1)", [](CountedArray& a) { a.GetAt(-1); }},
        {"GetAt(size)", [](CountedArray& a) { a.GetAt(3); }},
        {"const operator[](size)", [](CountedArray& a) { static_cast<const CountedArray&>(a)[3]; }},
        {"operator[](-1)", [](CountedArray& a) { a[-1]; }},
        {"ElementAt(size)", [](CountedArray& a) { a.ElementAt(3); }},
        {"SetAt(size)", [&](CountedArray& a) { a.SetAt(3, x); }},
        {"SetAt(-1)", [&](CountedArray& a) { a.SetAt(-1, x); }},
        {"RemoveAt(size)", [](CountedArray& a) { a.RemoveAt(3); }},
        {"RemoveAt(-1)", [](CountedArray& a) { a.RemoveAt(-1); }},
        {"RemoveAt past end", [](CountedArray& a) { a.RemoveAt(1, 3); }},
        {"RemoveAt negative count", [](CountedArray& a) { a.RemoveAt(0, -1); }},
        {"InsertAt(-1)", [&](CountedArray& a) { a.InsertAt(-1, x); }},
        {"InsertAt count 0", [&](CountedArray& a) { a.InsertAt(0, x, 0); }},
        {"SetAtGrow(-1)", [&](CountedArray& a) { a.SetAtGrow(-1, x); }},
        {"SetSize(-1)", [](CountedArray& a) { a.SetSize(-1); }},
        {"Append(self)", [](CountedArray& a) { a.Append(a); }},
    };
    for (const Row& r : rows) {
        CountedArray arr;
        Fill(arr, {1, 2, 3});
        bool raised = false;
        try {
            r.op(arr);
        } catch (CInvalidArgException* e) {
            raised = true;
            EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
            e->Delete();
        }
        EXPECT_TRUE(raised) << r.name;
        EXPECT_EQ((std::vector<int>{1, 2, 3}), Values(arr)) << r.name;
    }
}

TEST_F(CArrayTest, InsertAndRemoveKeepOrderAndLifetimes) {
    struct Row {
        const char* name;
        std::function<void(CountedArray&)> op;
        std::vector<int> expected;
    };
    const Row rows[] = {
        {"insert in the middle", [](CountedArray& a) { a.InsertAt(1, Counted(7), 2); }, {1, 7, 7, 2, 3}},
        {"insert at the front", [](CountedArray& a) { a.InsertAt(0, Counted(7)); }, {7, 1, 2, 3}},
        {"insert at size appends", [](CountedArray& a) { a.InsertAt(3, Counted(7)); }, {1, 2, 3, 7}},
        {"insert past size grows with defaults",
         [](CountedArray& a) { a.InsertAt(5, Counted(7)); },
         {1, 2, 3, 0, 0, 7}},
        {"insert own element", [](CountedArray& a) { a.InsertAt(0, a[2], 2); }, {3, 3, 1, 2, 3}},
        {"insert an array",
         [](CountedArray& a) {
             CountedArray other;
             Fill(other, {8, 9});
             a.InsertAt(1, &other);
         },
         {1, 8, 9, 2, 3}},
        {"insert the array into itself", [](CountedArray& a) { a.InsertAt(1, &a); }, {1, 1, 2, 3, 2, 3}},
        {"remove middle pair", [](CountedArray& a) { a.RemoveAt(1, 2); }, {1}},
        {"remove first", [](CountedArray& a) { a.RemoveAt(0); }, {2, 3}},
        {"remove nothing at the end", [](CountedArray& a) { a.RemoveAt(3, 0); }, {1, 2, 3}},
        {"shrink", [](CountedArray& a) { a.SetSize(1); }, {1}},
        {"grow", [](CountedArray& a) { a.SetSize(5); }, {1, 2, 3, 0, 0}},
        {"shrink to zero", [](CountedArray& a) { a.SetSize(0); }, {}},
        {"set at grow", [](CountedArray& a) { a.SetAtGrow(4, Counted(5)); }, {1, 2, 3, 0, 5}},
        {"add own element while full",
         [](CountedArray& a) {
             a.FreeExtra();
             a.Add(a[0]);
         },
         {1, 2, 3, 1}},
        {"append",
         [](CountedArray& a) {
             CountedArray other;
             Fill(other, {4, 5});
             EXPECT_EQ(3, a.Append(other));
         },
         {1, 2, 3, 4, 5}},
        {"copy replaces",
         [](CountedArray& a) {
             CountedArray other;
             Fill(other, {6});
             a.Copy(other);
         },
         {6}},
        {"remove all", [](CountedArray& a) { a.RemoveAll(); }, {}},
    };
    for (const Row& r : rows) {
        {
            CountedArray arr;
            Fill(arr, {1, 2, 3});
            r.op(arr);
            EXPECT_EQ(r.expected, Values(arr)) << r.name;
            EXPECT_EQ(int(r.expected.size()), Counted::live) << r.name << ": live elements";
            EXPECT_EQ(INT_PTR(r.expected.size()) - 1, arr.GetUpperBound()) << r.name;
        }
        EXPECT_EQ(0, Counted::live) << r.name << ": after destruction";
    }
}

TEST_F(CArrayTest, GrowthMovesElementsIntact) {
    CountedArray arr;
    arr.SetSize(0, 3);
    for (int i = 0; i < 100; ++i) arr.Add(Counted(i));
    ASSERT_EQ(100, arr.GetCount());
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(i, arr[i].value);
        EXPECT_EQ(std::wstring(40, wchar_t(L'a' + i % 26)), arr[i].text);
    }
    EXPECT_EQ(100, Counted::live);
}

TEST(CArrayPlain, NewElementsAreZero) {
    CArray<int, int> arr;
    arr.SetSize(4);
    for (INT_PTR i = 0; i < 4; ++i) EXPECT_EQ(0, arr[i]);
    CStringArray names;
    names.Add(L"one");
    names.Add(CString(L"two"));
    EXPECT_STREQ(L"two", names[1].GetString());
}

// Nothing in the library uses CMap; one walk over its interface is all it gets.
TEST(CMapTest, InsertLookupRemove) {
    CMap<int, int, CString, LPCTSTR> map;
    map.SetAt(1, L"one");
    map[2] = L"two";
    map.SetAt(1, L"uno");  // replaces
    EXPECT_EQ(2, map.GetCount());
    CString value;
    EXPECT_TRUE(map.Lookup(1, value));
    EXPECT_STREQ(L"uno", value.GetString());
    EXPECT_FALSE(map.Lookup(3, value));
    EXPECT_STREQ(L"uno", value.GetString());  // untouched by a failed lookup
    EXPECT_TRUE(map[3].IsEmpty());            // operator[] inserts an empty value
    EXPECT_EQ(3, map.GetCount());
    EXPECT_TRUE(map.RemoveKey(3));
    EXPECT_FALSE(map.RemoveKey(3));
    ASSERT_NE(nullptr, map.PLookup(2));
    EXPECT_EQ(2, map.PLookup(2)->key);
    EXPECT_EQ(nullptr, map.PLookup(42));
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(nullptr, map.GetStartPosition());
}

}  // namespace
