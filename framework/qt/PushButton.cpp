// Push buttons on Qt: a QPushButton whose click and press reach the model.
#include <QMouseEvent>
#include <QPushButton>

#include "framework/qt/Convert.h"
#include "framework/qt/Peers.h"

namespace fw::detail {
namespace {

// Hands clicks and presses to the model's button events; a press that the
// MouseDown handler claims never reaches the button.
class ButtonWidget : public QPushButton {
 public:
  ButtonWidget(std::weak_ptr<Control> owner, QWidget* parent) : QPushButton(parent), owner_(std::move(owner)) {
    connect(this, &QPushButton::clicked, this, [this] {
      if (auto owner = owner_.lock()) ButtonAction(static_cast<PushButton&>(*owner));
    });
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    bool claimed = false;
    if (auto owner = owner_.lock()) {
      const QPoint p = e->position().toPoint();
      claimed = ButtonMouseDown(static_cast<PushButton&>(*owner), p.x(), p.y());
    }
    if (!claimed) QPushButton::mousePressEvent(e);
  }

 private:
  std::weak_ptr<Control> owner_;
};

// Mirrors a button's caption and whether Tab reaches it; Click is a real click.
class ButtonPeer : public QtControlPeer {
 public:
  ButtonPeer(PushButton& owner, QPushButton* button, WindowPeer& window)
      : QtControlPeer(button, window), owner_(owner) {}

  void SetText(const String& text) override {
    if (auto* button = Button()) button->setText(ToQString(text));
  }
  void Click() override {
    if (auto* button = Button()) button->click();
  }
  void ApplyLook() override {
    if (widget) widget->setFocusPolicy(owner_.TabStop() ? Qt::StrongFocus : Qt::NoFocus);
  }

 private:
  QPushButton* Button() const { return static_cast<QPushButton*>(widget.data()); }
  PushButton& owner_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakePushButtonPeer(PushButton& owner, WindowPeer& window) {
  auto* button = new ButtonWidget(std::weak_ptr<Control>(Self<Control>(&owner).shared()),
                                  static_cast<QtWindowPeer&>(window).widget->Content());
  return std::make_unique<ButtonPeer>(owner, button, window);
}

}  // namespace fw::detail
