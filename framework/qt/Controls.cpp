// What every visual control's peer does alike on its Qt widget; the kinds
// are in Label.cpp, TextArea.cpp, PushButton.cpp and Shapes.cpp.
#include "framework/qt/Convert.h"
#include "framework/qt/Peers.h"

namespace fw::detail {

QtControlPeer::QtControlPeer(QWidget* w, WindowPeer& window)
    : widget(w), content_(static_cast<QtWindowPeer&>(window).widget->Content()) {
  widget->setAutoFillBackground(false);
}

// The widget lives inside its window's widget; it goes later, so that no
// event handler ever runs on a deleted widget.
QtControlPeer::~QtControlPeer() {
  if (widget) {
    widget->hide();
    widget->deleteLater();
  }
}

void QtControlPeer::SetGeometry(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height) {
  if (widget) {
    widget->setGeometry(static_cast<int>(x), static_cast<int>(y), static_cast<int>(width), static_cast<int>(height));
  }
}

void QtControlPeer::SetVisible(bool visible) {
  if (widget) widget->setVisible(visible);
}

void QtControlPeer::SetEnabled(bool enabled) {
  if (widget) widget->setEnabled(enabled);
}

void QtControlPeer::SetTooltip(const String& text) {
  if (widget) widget->setToolTip(ToQString(text));
}

void QtControlPeer::SetFont(const FontSpec& font) {
  if (widget) widget->setFont(FontFor(font));
}

void QtControlPeer::SetParent(ControlPeer* container, bool visible) {
  if (!widget) return;
  QWidget* parent = container ? static_cast<QtControlPeer*>(container)->widget.data() : content_.data();
  if (widget->parentWidget() != parent) {
    widget->setParent(parent);
    widget->setVisible(visible);
  }
}

void QtControlPeer::SetFocus() {
  if (widget) widget->setFocus(Qt::OtherFocusReason);
}

bool QtControlPeer::HasFocus() const { return widget && widget->hasFocus(); }

bool QtControlPeer::TakesTabFocus() const { return widget && widget->focusPolicy() & Qt::TabFocus; }

void QtControlPeer::Repaint() {
  if (widget) widget->update();
}

QWidget* WidgetOf(const Control& control) {
  auto* peer = dynamic_cast<QtControlPeer*>(control.Peer());
  return peer ? peer->widget.data() : nullptr;
}

}  // namespace fw::detail
