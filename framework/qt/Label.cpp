// Labels on Qt: a plain-text QLabel that lets presses through to the window.
#include <QLabel>

#include "framework/qt/Convert.h"
#include "framework/qt/Peers.h"

namespace fw::detail {
namespace {

// Mirrors a label's text, wrapping, alignment and colour; takes no input.
class LabelPeer : public QtControlPeer {
 public:
  LabelPeer(Label& owner, QLabel* label, WindowPeer& window) : QtControlPeer(label, window), owner_(owner) {
    // Presses go through a label to the window.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setFocusPolicy(Qt::NoFocus);
  }

  void SetText(const String& text) override {
    if (auto* label = Widget()) label->setText(ToQString(text));
  }

  void ApplyLook() override {
    auto* label = Widget();
    if (!label) return;
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(owner_.Multiline());
    label->setAlignment(HorizontalAlignment(owner_.TextAlignment()) | Qt::AlignTop);
    QPalette palette = label->palette();
    // The label's own colour, enabled or not.
    const QColor color = ToQColor(owner_.TextColor());
    palette.setColor(QPalette::Active, QPalette::WindowText, color);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, color);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, color);
    label->setPalette(palette);
  }

 private:
  QLabel* Widget() const { return static_cast<QLabel*>(widget.data()); }
  Label& owner_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeLabelPeer(Label& owner, WindowPeer& window) {
  auto* label = new QLabel(static_cast<QtWindowPeer&>(window).widget->Content());
  return std::make_unique<LabelPeer>(owner, label, window);
}

}  // namespace fw::detail
