// Gives every test a fresh runtime, whatever ran before it in the same
// process: the mains of the test programs add it once.
#pragma once

#include <gtest/gtest.h>

class ResetEachTest : public testing::EmptyTestEventListener {
 public:
  void OnTestStart(const testing::TestInfo& test) override;
};

// Adds a ResetEachTest to the running test program.
void ResetRuntimeBeforeEachTest();
