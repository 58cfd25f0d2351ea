// For GUI tests only: the Qt widgets behind windows and controls, so that
// tests can send them real key and mouse events.
#pragma once

#include <QMainWindow>
#include <QWidget>

#include "framework/Controls.h"
#include "framework/Window.h"

namespace fw::test {

QWidget* WidgetOf(const Ref<RectControl>& control);
QMainWindow* WidgetOf(const Ref<Window>& window);
// Closes every window without raising events and deletes their widgets.
void CloseAllWindows();
// Runs pending deferred deletions.
void FlushDeletes();

}  // namespace fw::test
