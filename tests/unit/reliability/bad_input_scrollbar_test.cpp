// Bad inputs for the vertical and the horizontal scrollbar: the same table for both,
// through a small adapter for the names that differ.
#include "bad_input.h"
#include "scrollbar/HorizontalScrollbar.h"
#include "scrollbar/VerticalScrollbar.h"

namespace {

using rel::BadInput;
using rel::kAnyResult;

template <class Bar>
struct Axis;

template <>
struct Axis<CVerticalScrollbar> {
    static constexpr const char* kKind = "vscroll";
    static RECT Home() { return RECT{20, 10, 32, 134}; }  // 12 x 124
    static void SetNumber(CVerticalScrollbar* s, int n) { s->SetRowNumber(n); }
};

template <>
struct Axis<CHorizontalScrollbar> {
    static constexpr const char* kKind = "hscroll";
    static RECT Home() { return RECT{10, 20, 134, 32}; }  // 124 x 12
    static void SetNumber(CHorizontalScrollbar* s, int n) { s->SetColumnNumber(n); }
};

// Configured as N = 100, P = 10, position 45.
template <class Bar>
std::vector<BadInput<Bar>> Rows() {
    using A = Axis<Bar>;
    auto keeps_length = [](void (*change)(Bar*)) {
        return [change](Bar* s) -> long long {
            const int before = s->m_nThumbLength;
            change(s);
            return s->m_nThumbLength == before;
        };
    };
    return {
        {"UpdateThumbPos -1", [](Bar* s) { return s->UpdateThumbPos(-1); }, 0, true},
        {"UpdateThumbPos N + 1", [](Bar* s) { return s->UpdateThumbPos(101); }, 0, true},
        {"UpdateThumbPos N", [](Bar* s) { return s->UpdateThumbPos(100); }, 1, false},
        {"UpdateThumbPos with N = 0",
         [](Bar* s) {
             A::SetNumber(s, 0);
             return s->UpdateThumbPos(0);
         },
         0, false},
        {"SetPageSize 0 keeps the thumb length", keeps_length([](Bar* s) { s->SetPageSize(0); }), 1, false},
        {"SetRowNumber 0 keeps the thumb length", keeps_length([](Bar* s) { A::SetNumber(s, 0); }), 1, false},
        {"SetPageSize INT_MAX",
         [](Bar* s) {
             s->SetPageSize(INT_MAX);
             return s->m_nThumbLength >= 0;
         },
         1, false},
        {"N = INT_MAX, P = INT_MAX - 1, last position",
         [](Bar* s) {
             A::SetNumber(s, INT_MAX);
             s->SetPageSize(INT_MAX - 1);
             return s->UpdateThumbPos(INT_MAX);
         },
         1, false},
        {"N = INT_MAX, P = INT_MIN, then auto-repeat",
         [](Bar* s) {
             A::SetNumber(s, INT_MAX);
             s->SetPageSize(INT_MIN);
             return s->UpdateThumbPos(INT_MAX / 2);
         },
         1, false},
        {"SetWidth INT_MIN",
         [](Bar* s) {
             s->SetWidth(INT_MIN);
             return s->GetWidth();
         },
         INT_MIN, false},
        {"SetHeight INT_MAX",
         [](Bar* s) {
             s->SetHeight(INT_MAX);
             return s->GetHeight();
         },
         INT_MAX, false},
    };
}

template <class Bar>
class ScrollbarBadInputTest : public rel::ReliabilityTest {
protected:
    Bar* Make() {
        auto* s = new Bar;
        EXPECT_TRUE(host->Add(s, L"s", Axis<Bar>::Home(), 3));
        Axis<Bar>::SetNumber(s, 100);
        s->SetPageSize(10);
        s->UpdateThumbPos(45);
        host->Pump();
        return s;
    }
};

using Bars = ::testing::Types<CVerticalScrollbar, CHorizontalScrollbar>;
TYPED_TEST_SUITE(ScrollbarBadInputTest, Bars);

TYPED_TEST(ScrollbarBadInputTest, EveryRowAnswersAsSpecifiedAndKeepsWorking) {
    this->template RunRows<TypeParam>(
        Rows<TypeParam>(), [this] { return this->Make(); }, Axis<TypeParam>::kKind,
        [](TypeParam* s, const std::vector<kt::Posted>&) { EXPECT_GE(s->m_nCurPos, 0); });
}

}  // namespace
