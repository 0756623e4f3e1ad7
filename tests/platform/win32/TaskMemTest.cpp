// The engine's blocks on Windows come from the system's task allocator.
// (No <windows.h> here: its functions of the same names have C linkage.)
#include "platform/TaskMem.h"

#include <gtest/gtest.h>

namespace pv14::testing {
namespace {

TEST(Win32TaskMemTest, BlocksComeFromTheSystemsTaskAllocator) {
  void* block = CoTaskMemAlloc(24);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(CoTaskMemGetSize(block), 24u);
  CoTaskMemFree(block);
  CoTaskMemFree(nullptr);
  EXPECT_EQ(CoTaskMemGetSize(nullptr), 0u);
}

}  // namespace
}  // namespace pv14::testing
