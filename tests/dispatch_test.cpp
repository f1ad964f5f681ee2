#include <gtest/gtest.h>
#include "cli/dispatch.h"
TEST(Dispatch, Placeholder) { EXPECT_EQ(tresk::programName("/usr/local/bin/tresk"), "tresk"); }
