// Timers on Qt: a QTimer tied to the window's widget when there is one.
#include <QTimer>

#include "framework/qt/Peers.h"

namespace fw::detail {
namespace {

// A QTimer that calls the timer's Action; it holds its timer only weakly.
class QtTimerPeer : public TimerPeer {
 public:
  explicit QtTimerPeer(Timer& owner) : owner_(Self<Control>(&owner).shared()) { Make(); }
  ~QtTimerPeer() override {
    if (timer_) timer_->deleteLater();
  }

  void Start(bool singleShot, int milliseconds) override {
    if (!timer_) Make();  // its window's widget took it along
    timer_->setSingleShot(singleShot);
    timer_->start(milliseconds);
  }
  void Stop() override {
    if (timer_) timer_->stop();
  }
  bool IsActive() const override { return timer_ && timer_->isActive(); }

 private:
  void Make() {
    timer_ = new QTimer();
    auto owner = owner_.lock();
    if (auto window = owner ? owner->Window() : Ref<Window>()) {
      if (auto* widget = WidgetOf(*window)) timer_->setParent(widget);
    }
    QObject::connect(timer_, &QTimer::timeout, timer_, [self = owner_] {
      if (auto owner = self.lock()) static_cast<Timer*>(owner.get())->_CallAction();
    });
  }

  std::weak_ptr<Control> owner_;
  QPointer<QTimer> timer_;
};

}  // namespace

std::unique_ptr<TimerPeer> MakeTimerPeer(Timer& owner, WindowPeer* window) {
  (void)window;  // the timer finds its window's widget itself, also when made anew
  return std::make_unique<QtTimerPeer>(owner);
}

}  // namespace fw::detail
