// The program's one toolkit object is created at its first use. That first
// use can happen once per process, so this test has a program of its own.
#include <gtest/gtest.h>

#include "toolkit/tools.h"

TEST(ToolsFirstUse, SingleInstanceCreatedAtFirstUse) {
    static int runs = 0; // a repeated run in the same process finds it created by the first
    if (runs++ > 0) GTEST_SKIP() << "the first use was earlier in this process";
    EXPECT_FALSE(kelvara::ToolsCreated());
    kelvara::Tools_cls& a = kelvara::Tools();
    EXPECT_TRUE(kelvara::ToolsCreated());
    EXPECT_EQ(&a, &kelvara::Tools());
}
