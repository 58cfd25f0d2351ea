// The Qt side of windows, controls and pictures: the peers of
// framework/Peers.h on Qt widgets. Internal to framework/qt/.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QTextEdit>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "framework/Controls.h"
#include "framework/Peers.h"
#include "framework/Picture.h"
#include "framework/Printing.h"
#include "framework/Timer.h"
#include "framework/Window.h"

namespace fw::detail {

// A decoded picture as a QImage.
class QtPictureData : public PictureData {
 public:
  explicit QtPictureData(QImage picture) : image(std::move(picture)) {}
  int Width() const override { return image.width(); }
  int Height() const override { return image.height(); }
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

// Mirrors a window's frame, size and visibility to its WindowWidget.
class QtWindowPeer : public WindowPeer {
 public:
  explicit QtWindowPeer(Window& owner);
  ~QtWindowPeer() override;
  void SetTitle(const String& title) override;
  void ApplyFrame() override;
  void ApplyGeometry() override;
  void ShowMenuBar(const Ref<MenuBar>& bar, bool hidden) override;
  void SetTabOrder(const std::vector<ControlPeer*>& order) override;
  void Place(bool centred, std::int64_t left, std::int64_t top) override;
  void Show() override;
  void Hide() override;
  bool IsShown() const override;
  void Repaint() override;
  void Dispose() override;

  QPointer<WindowWidget> widget;

 private:
  Window& owner_;
};

// What every visual control's peer does alike, on its one widget.
class QtControlPeer : public ControlPeer {
 public:
  // `widget` is a new child of the window's content area.
  QtControlPeer(QWidget* widget, WindowPeer& window);
  ~QtControlPeer() override;
  void SetGeometry(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void SetTooltip(const String& text) override;
  void SetFont(const FontSpec& font) override;
  void ApplyLook() override {}
  void SetParent(ControlPeer* container, bool visible) override;
  void SetFocus() override;
  bool HasFocus() const override;
  bool TakesTabFocus() const override;
  void Repaint() override;

  QPointer<QWidget> widget;

 private:
  QPointer<QWidget> content_;
};

// The widget behind a control or a window; none for a model-only one.
QWidget* WidgetOf(const Control& control);
WindowWidget* WidgetOf(const Window& window);

// One per widget family (Label.cpp, TextArea.cpp, PushButton.cpp,
// Shapes.cpp, Timer.cpp).
std::unique_ptr<ControlPeer> MakeLabelPeer(Label& owner, WindowPeer& window);
std::unique_ptr<ControlPeer> MakeTextAreaPeer(TextArea& owner, WindowPeer& window);
std::unique_ptr<ControlPeer> MakePushButtonPeer(PushButton& owner, WindowPeer& window);
std::unique_ptr<ControlPeer> MakeCanvasPeer(Canvas& owner, WindowPeer& window);
std::unique_ptr<ControlPeer> MakeRoundRectanglePeer(RoundRectangle& owner, WindowPeer& window);
std::unique_ptr<TimerPeer> MakeTimerPeer(Timer& owner, WindowPeer* window);

// The typed text of a key press, with editing keys as control characters;
// empty for a key that has no text (F1, Insert, the menu key), which still
// raises KeyDown; nothing for a modifier alone, which raises none.
std::optional<std::string> KeyText(const QKeyEvent* e);

// What stops Qt from running on this display (no platform plugin, a
// platform other than xcb, wayland or offscreen, no display, a screen of
// fewer than 15 bits of colour), or empty when nothing does. Asked before
// the QApplication is made.
std::string DisplayProblem();

// Gives the window system an empty name for `window`, where Qt would give
// it the program's name (X11 only; elsewhere nothing happens).
void ClearWindowSystemTitle(QWidget* window);

// A menu bar view of `bar` for the window widget `window`, whose owner is
// the front window while the view is used.
void InstallMenuBarView(WindowWidget* window, const Ref<MenuBar>& bar);
// The same view on a new bar that is a child of `window` but not yet placed.
QMenuBar* NewMenuBarView(WindowWidget* window, const Ref<MenuBar>& bar);
// A view of `bar` for a window whose menu bar is hidden: the bar floats over
// the top of the content while Alt is toggled (framework/qt/MenuReveal.cpp).
void InstallHiddenMenuBarView(WindowWidget* window, const Ref<MenuBar>& bar);

// Printing (Printing.cpp): the system's print dialog, a job into a PDF
// file, the background-task pass, and a printer of a copy of an editor's
// document onto the graphics of a job.
Ref<Graphics> QtOpenPrinterDialog(Window* parent, const std::string& jobName);
Ref<Graphics> QtPdfPrintJob(const std::string& path);
void QtBackgroundTask();
Ref<StyledTextPrinter> NewDocumentPrinter(const Ref<Graphics>& graphics, const QTextEdit& editor, std::int64_t width);

}  // namespace fw::detail
