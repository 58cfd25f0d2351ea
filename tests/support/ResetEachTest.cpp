#include "tests/support/ResetEachTest.h"

#include "framework/TestSeams.h"

void ResetEachTest::OnTestStart(const testing::TestInfo&) { fw::test::ResetRuntime(); }

void ResetRuntimeBeforeEachTest() { testing::UnitTest::GetInstance()->listeners().Append(new ResetEachTest); }
