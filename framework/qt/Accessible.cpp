#include "framework/qt/Accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QHash>
#include <QLabel>
#include <QTextEdit>
#include <memory>

#include "framework/Picture.h"
#include "framework/qt/Convert.h"
#include "framework/qt/Peers.h"

namespace fw::detail {
namespace {

// The controls by their widgets. An entry goes with its widget.
QHash<const QObject*, std::weak_ptr<Control>>& Registry() {
  static QHash<const QObject*, std::weak_ptr<Control>> registry;
  return registry;
}

template <class T>
std::shared_ptr<T> ControlOf(const QObject* widget) {
  auto it = Registry().constFind(widget);
  return it == Registry().constEnd() ? nullptr : std::dynamic_pointer_cast<T>(it->lock());
}

// A canvas as a picture: a graphic named after the picture's file.
class GraphicAccessible : public QAccessibleWidget {
 public:
  explicit GraphicAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Graphic) {}
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !widget()->accessibleName().isEmpty()) return QAccessibleWidget::text(t);
    auto canvas = ControlOf<Canvas>(widget());
    if (!canvas || !canvas->Backdrop()) return {};
    return ToQString(canvas->Backdrop()->FileName());
  }
};

// The caption for a text area without a tooltip: the label on the same
// parent that ends nearest to the field's left edge on an overlapping row.
QString CaptionBeside(const QWidget* field) {
  const QRect f = field->geometry();
  const QLabel* best = nullptr;
  int bestGap = 0;
  for (const QObject* sibling : field->parentWidget()->children()) {
    auto* label = qobject_cast<const QLabel*>(sibling);
    if (!label || !ControlOf<Label>(label) || label->text().isEmpty()) continue;
    const QRect l = label->geometry();
    const bool sameRow = l.top() < f.bottom() && f.top() < l.bottom();
    const int gap = f.left() - l.right();
    if (!sameRow || gap < -4) continue;  // a label may overlap a few pixels
    if (!best || gap < bestGap) {
      best = label;
      bestGap = gap;
    }
  }
  return best ? best->text() : QString();
}

void NameField(QWidget* widget) {
  auto area = ControlOf<TextArea>(widget);
  if (!area || !widget->parentWidget()) return;
  QString name = area->Tooltip().empty() ? CaptionBeside(widget) : ToQString(area->Tooltip());
  // A text area that stands alone (the description's text) is named by
  // its window's title.
  if (name.isEmpty()) name = widget->window()->windowTitle();
  if (widget->accessibleName() != name) widget->setAccessibleName(name);
}

void NameFieldsOf(QWidget* window) {
  for (auto* editor : window->findChildren<QTextEdit*>()) NameField(editor);
}

QAccessibleInterface* Factory(const QString&, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (!widget || !Registry().contains(object)) return nullptr;
  if (ControlOf<Canvas>(object)) return new GraphicAccessible(widget);
  if (ControlOf<RoundRectangle>(object)) return new QAccessibleWidget(widget, QAccessible::Grouping);
  NameField(widget);  // Qt's own interface, with the name set first
  return nullptr;
}

// Keeps the fields' names current: a tooltip can change, and a field's
// caption label may be made after it, so the names are settled again
// whenever a window is shown.
class NameKeeper : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::ToolTipChange && Registry().contains(watched)) {
      NameField(static_cast<QWidget*>(watched));
    } else if (e->type() == QEvent::Show && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) {
      NameFieldsOf(static_cast<QWidget*>(watched));
    }
    return false;
  }
};

}  // namespace

void InstallAccessibility() {
  static bool installed = false;
  if (!installed) QAccessible::installFactory(Factory);
  installed = true;
  // The filter lives with the application it watches.
  auto* keeper = new NameKeeper();
  keeper->setParent(qApp);
  qApp->installEventFilter(keeper);
}

void RegisterAccessible(const Ref<Control>& control, QWidget* widget) {
  if (!widget) return;
  Registry().insert(widget, control.shared());
  QObject::connect(widget, &QObject::destroyed, [](QObject* gone) { Registry().remove(gone); });
}

}  // namespace fw::detail
