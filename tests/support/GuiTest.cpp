#include "tests/support/GuiTest.h"

#include "shell/App.h"

void GuiTest::SetUp() {
  // The runtime is fresh (ResetEachTest); the application object and its
  // menu bar, as start-up makes them.
  _NewAppInstance();
  _ApplicationAddMenuHandlers();
  boxes_.clear();
  fw::test::SetMessageBoxObserver([this](const std::string& text) { boxes_.push_back(text); });
  beepsAtStart_ = fw::test::BeepCount();
  fw::RuntimeTakePendingException();
}

void GuiTest::ExpectNoPendingException() {
  if (auto e = fw::RuntimeTakePendingException()) {
    try {
      std::rethrow_exception(e);
    } catch (const std::exception& ex) {
      ADD_FAILURE() << "an exception escaped into the framework: " << ex.what();
    }
  }
}

void GuiTest::TearDown() {
  ExpectNoPendingException();
  fw::test::SetMessageBoxObserver(nullptr);
  fw::test::CloseAllWindows();
}
