// The Qt side of windows, controls and pictures. Internal to framework/.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "framework/Controls.h"
#include "framework/Picture.h"
#include "framework/Timer.h"
#include "framework/Window.h"

namespace fw::detail {

struct PictureData {
  QImage image;
};

// The widget that stands for a window: a main window whose central widget
// is the content area the controls are placed in.
class WindowWidget : public QMainWindow {
 public:
  explicit WindowWidget(std::weak_ptr<Window> owner);
  std::shared_ptr<Window> Owner() const { return owner_.lock(); }
  QWidget* Content() const { return centralWidget(); }

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  std::weak_ptr<Window> owner_;
};

struct WindowPeer {
  QPointer<WindowWidget> widget;
};

struct ControlPeer {
  QPointer<QWidget> widget;
  QPointer<QTimer> timer;
};

// The typed text of a key press, with editing keys as control characters;
// empty for a modifier alone or a key that has no text.
std::string KeyText(const QKeyEvent* e);

// A menu bar view of `bar` for the window widget `window`, whose owner is
// the front window while the view is used.
void InstallMenuBarView(WindowWidget* window, const Ref<MenuBar>& bar);
// The same view on a new bar that is a child of `window` but not yet placed.
QMenuBar* NewMenuBarView(WindowWidget* window, const Ref<MenuBar>& bar);
// A view of `bar` for a window whose menu bar is hidden: the bar floats over
// the top of the content while Alt is toggled (framework/qt/MenuReveal.cpp).
void InstallHiddenMenuBarView(WindowWidget* window, const Ref<MenuBar>& bar);

}  // namespace fw::detail
