#include <gtest/gtest.h>

#include "win32/runtime_ext.h"

TEST(Handles, NullHandleCountsNothing) { EXPECT_EQ(0, rt::GdiObjectTotal()); }
