#include "tests/support/GuiTest.h"

#include <QTimer>

#include "shell/App.h"

void GuiTest::StartApplication() {
  _NewAppInstance();
  _ApplicationAddMenuHandlers();
}

void GuiTest::SetUp() {
  StartApplication();  // in the fresh runtime that ResetEachTest made
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

namespace testsupport {

bool ShowActive(const fw::Ref<fw::Window>& window) {
  window->Show();
  return QTest::qWaitForWindowActive(fw::test::WidgetOf(window));
}

void UseProgramPictures() { fw::test::SetResourceDirs({QUORVEL_SOURCE_DIR "/resources"}); }

QTimer* RunningTimerOf(const fw::Ref<fw::Window>& window, int intervalMs) {
  QWidget* widget = window ? fw::test::WidgetOf(window) : nullptr;
  if (!widget) return nullptr;
  // A window's timers are children of its widget.
  for (QTimer* timer : widget->findChildren<QTimer*>(Qt::FindDirectChildrenOnly)) {
    if (timer->isActive() && timer->interval() == intervalMs) return timer;
  }
  return nullptr;
}

}  // namespace testsupport
