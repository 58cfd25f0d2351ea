// The main of the test programs without windows: every test from a fresh
// runtime, in any order.
#include <gtest/gtest.h>

#include "tests/support/ResetEachTest.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  ResetRuntimeBeforeEachTest();
  return RUN_ALL_TESTS();
}
