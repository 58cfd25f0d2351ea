#include "framework/Timer.h"

#include <algorithm>
#include <cstdint>

#include "framework/Peers.h"
#include "framework/Protocol.h"
#include "framework/Run.h"
#include "framework/Window.h"

namespace fw {

Timer::Timer() = default;
Timer::~Timer() = default;

const PropertySheet& Timer::Sheet() const {
  static const PropertySheet sheet =
      PropertySheet("Timer", &Control::Sheet()).Add("RunMode", &Timer::RunMode).Add("Period", &Timer::Period);
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

bool Timer::IsArmed() const { return timer_ && timer_->IsActive(); }

// Without a toolkit a timer never fires: there is no event loop to run it.
void Timer::Restart() {
  if (!timer_) {
    auto* toolkit = detail::InstalledToolkit();
    if (!toolkit) return;
    // The toolkit's timer lives no longer than the window's widget.
    auto window = Window();
    timer_ = toolkit->MakeTimer(*this, window ? window->Peer() : nullptr);
  }
  timer_->Stop();
  if (runMode_ == kTimerOff) return;
  timer_->Start(runMode_ == kTimerOnce, static_cast<int>(std::clamp<std::int64_t>(period_, 1, INT32_MAX)));
}

void Timer::_CallAction() {
  auto self = Self<Timer>(this);
  if (auto handler = EventHandler(kTimerAction)) {
    RuntimeCallProgram([&] { handler->Invoke<void, Ref<Timer>>(self); });
  }
  const auto receivers = receivers_;  // a receiver may add or remove one
  for (const auto& weak : receivers) {
    auto receiver = weak.lock();
    if (auto* told = dynamic_cast<actionNotificationReceiver*>(receiver.get())) {
      RuntimeCallProgram([&] { told->PerformAction(); });
    }
  }
}

void Timer::addActionNotificationReceiver(const Ref<Object>& receiver) {
  CheckUIThread("Timer.addActionNotificationReceiver");
  if (!receiver) throw NilObjectException("Timer.addActionNotificationReceiver was given none");
  receivers_.push_back(receiver.shared());
}

void Timer::removeActionNotificationReceiver(const Ref<Object>& receiver) {
  CheckUIThread("Timer.removeActionNotificationReceiver");
  std::erase_if(receivers_, [&](const std::weak_ptr<Object>& w) {
    auto held = w.lock();
    return !held || held.get() == receiver.get();
  });
}

std::string Timer::EventSignature(int eventNumber) const {
  return eventNumber == kTimerAction ? kTimerActionSignature : std::string();
}

}  // namespace fw
