#include "framework/qt/TestSupport.h"

#include <QCoreApplication>

#include "framework/qt/Peers.h"

namespace fw::test {
QWidget* WidgetOf(const Ref<RectControl>& control) { return detail::WidgetOf(*control); }
QMainWindow* WidgetOf(const Ref<Window>& window) { return detail::WidgetOf(*window); }
void CloseAllWindows() {
  detail::CloseAllWindows();
  FlushDeletes();
}
void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
}  // namespace fw::test
