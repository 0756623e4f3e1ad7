#include <gtest/gtest.h>

#include "resources/Strings.h"
#include "resources/Text.h"

namespace pv14 {
namespace {

TEST(TextTest, LiteralsBecomeShiftJisOnce) {
  // 所 is 0x8F8A, ソ ends in 0x5C, the half-width corner bracket is one byte.
  EXPECT_EQ(SJ("所"), "\x8F\x8A");
  EXPECT_EQ(SJ("ソ"), "\x83\x5C");
  EXPECT_EQ(SJ("｢"), "\xA2");
  EXPECT_EQ(SJ("同じ").size(), 4u);
}

TEST(TextTest, StringTableHoldsTheConnectedProgramVersion) {
  EXPECT_EQ(LoadStringResource(kIdsConnectedProgramVersion), "19.00.00");
  EXPECT_EQ(LoadStringResource(2), "");
}

}  // namespace
}  // namespace pv14
