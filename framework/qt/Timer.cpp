#include "framework/Timer.h"

#include <algorithm>
#include <cstdint>

#include "framework/Run.h"
#include "framework/Window.h"
#include "framework/qt/Peers.h"

namespace fw {

Timer::Timer() = default;
Timer::~Timer() = default;

const PropertySheet& Timer::Sheet() const {
  static const PropertySheet sheet = PropertySheet("Timer", &Control::Sheet())
                                         .Add("RunMode", &Timer::RunMode)
                                         .Add("Period", &Timer::Period);
  return sheet;
}

void Timer::RunMode(std::int64_t v) {
  CheckUIThread("Timer.RunMode");
  runMode_ = v;
  Restart();
}

void Timer::Period(std::int64_t v) {
  CheckUIThread("Timer.Period");
  period_ = v;
  Restart();
}

void Timer::Reset() {
  CheckUIThread("Timer.Reset");
  Restart();
}

bool Timer::IsArmed() const { return peer_->timer && peer_->timer->isActive(); }

void Timer::Restart() {
  if (!peer_->timer) {
    auto* timer = new QTimer();
    // Tie the Qt timer's life to the window's widget when there is one.
    if (auto window = Window(); window && window->Peer()->widget) timer->setParent(window->Peer()->widget);
    std::weak_ptr<Control> self = Self<Control>(this).shared();
    QObject::connect(timer, &QTimer::timeout, timer, [self] {
      if (auto owner = self.lock()) static_cast<Timer*>(owner.get())->_CallAction();
    });
    peer_->timer = timer;
  }
  peer_->timer->stop();
  if (runMode_ == 0) return;
  peer_->timer->setSingleShot(runMode_ == 1);
  peer_->timer->start(static_cast<int>(std::clamp<std::int64_t>(period_, 1, INT32_MAX)));
}

void Timer::_CallAction() {
  if (auto handler = EventHandler(kTimerAction)) {
    auto self = Self<Timer>(this);
    RuntimeCallProgram([&] { handler->Invoke<void, Ref<Timer>>(self); });
  }
}

std::string Timer::EventSignature(int eventNumber) const {
  return eventNumber == kTimerAction ? "( Timer )" : std::string();
}

}  // namespace fw
