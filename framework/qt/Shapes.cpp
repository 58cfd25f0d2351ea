// The drawn controls on Qt: the canvas with its backdrop and the rounded
// rectangle. Neither takes the focus.
#include <QPainter>

#include "framework/qt/Convert.h"
#include "framework/qt/Peers.h"

namespace fw::detail {
namespace {

// Draws the canvas's backdrop unscaled at its top-left corner, nothing else.
class CanvasWidget : public QWidget {
 public:
  CanvasWidget(std::weak_ptr<Control> owner, QWidget* parent) : QWidget(parent), owner_(std::move(owner)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    auto owner = std::static_pointer_cast<Canvas>(owner_.lock());
    if (owner && owner->Backdrop()) {
      QPainter(this).drawImage(QPoint(0, 0), static_cast<const QtPictureData&>(owner->Backdrop()->Data()).image);
    }
  }

 private:
  std::weak_ptr<Control> owner_;
};

// Draws the rounded rectangle from the model's colours and sizes.
class RoundRectWidget : public QWidget {
 public:
  RoundRectWidget(std::weak_ptr<Control> owner, QWidget* parent) : QWidget(parent), owner_(std::move(owner)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    auto box = std::static_pointer_cast<RoundRectangle>(owner_.lock());
    if (!box) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double t = box->BorderThickness();
    p.setPen(t > 0 ? QPen(ToQColor(box->BorderColor()), t) : Qt::NoPen);
    p.setBrush(ToQColor(box->FillColor()));
    const QRectF r = QRectF(rect()).adjusted(t / 2, t / 2, -t / 2, -t / 2);
    p.drawRoundedRect(r, box->CornerWidth() / 2, box->CornerHeight() / 2);
  }

 private:
  std::weak_ptr<Control> owner_;
};

QWidget* ContentOf(WindowPeer& window) { return static_cast<QtWindowPeer&>(window).widget->Content(); }

}  // namespace

std::unique_ptr<ControlPeer> MakeCanvasPeer(Canvas& owner, WindowPeer& window) {
  auto* canvas = new CanvasWidget(std::weak_ptr<Control>(Self<Control>(&owner).shared()), ContentOf(window));
  // The canvas takes no presses of its own here; they reach the window.
  canvas->setAttribute(Qt::WA_TransparentForMouseEvents);
  canvas->setFocusPolicy(Qt::NoFocus);
  return std::make_unique<QtControlPeer>(canvas, window);
}

std::unique_ptr<ControlPeer> MakeRoundRectanglePeer(RoundRectangle& owner, WindowPeer& window) {
  auto* box = new RoundRectWidget(std::weak_ptr<Control>(Self<Control>(&owner).shared()), ContentOf(window));
  box->setFocusPolicy(Qt::NoFocus);
  return std::make_unique<QtControlPeer>(box, window);
}

}  // namespace fw::detail
