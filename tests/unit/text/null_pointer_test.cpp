// Null pointers where the system documents no answer and faults (Wine reads or writes
// through them): the runtime refuses the call instead, as a host must not crash on them.
#include <gtest/gtest.h>

#include "text_test_util.h"

namespace {

TEST(NullPointers, TextCallsRefuseThem) {
    tt::TextSurface s(10, 10);
    EXPECT_FALSE(TextOutW(s.dc(), 0, 0, nullptr, 1));
    EXPECT_EQ(DrawTextW(s.dc(), L"a", -1, nullptr, 0), 0);
    SIZE size{};
    EXPECT_FALSE(GetTextExtentPoint32W(s.dc(), L"a", 1, nullptr));
    EXPECT_FALSE(GetTextExtentPoint32W(s.dc(), nullptr, 1, &size));
}

}  // namespace
