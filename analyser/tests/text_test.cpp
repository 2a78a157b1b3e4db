#include <gtest/gtest.h>
#include "text.h"
TEST(Text, Placeholder) { EXPECT_TRUE(true); }
