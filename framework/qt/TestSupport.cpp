#include "framework/qt/TestSupport.h"

#include <QCoreApplication>

#include "framework/qt/Peers.h"

namespace fw {
namespace detail {
void CloseAllWindows();
}

namespace test {
QWidget* WidgetOf(const Ref<RectControl>& control) { return control->Peer()->widget; }
QMainWindow* WidgetOf(const Ref<Window>& window) { return window->Peer()->widget; }
void CloseAllWindows() {
  detail::CloseAllWindows();
  FlushDeletes();
}
void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
}  // namespace test
}  // namespace fw
