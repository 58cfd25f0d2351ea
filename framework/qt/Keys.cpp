#include <QKeyEvent>

#include "framework/qt/Convert.h"
#include "framework/qt/Peers.h"

namespace fw::detail {

std::optional<std::string> KeyText(const QKeyEvent* e) {
  auto control = [](int code) { return std::string(1, static_cast<char>(code)); };
  switch (e->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock: return std::nullopt;  // a modifier alone raises no key event
    case Qt::Key_Backspace: return control(8);
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return control(9);
    case Qt::Key_Return:
    case Qt::Key_Enter: return control(13);
    case Qt::Key_Escape: return control(27);
    case Qt::Key_Left: return control(28);
    case Qt::Key_Right: return control(29);
    case Qt::Key_Up: return control(30);
    case Qt::Key_Down: return control(31);
    case Qt::Key_Delete: return control(127);
    case Qt::Key_Home: return control(1);
    case Qt::Key_End: return control(4);
    case Qt::Key_PageUp: return control(11);
    case Qt::Key_PageDown: return control(12);
    default: break;
  }
  if ((e->modifiers() & Qt::ControlModifier) && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z) {
    return control(e->key() - Qt::Key_A + 1);
  }
  return ToStdString(e->text());
}

}  // namespace fw::detail
