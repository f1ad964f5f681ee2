#include <gtest/gtest.h>
#include "cli/diagnostics.h"
TEST(Diagnostics, Placeholder) { EXPECT_EQ(tresk::errorLine("m", std::nullopt, std::nullopt), "Error: m\n"); }
