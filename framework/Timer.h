// The non-visual control Timer, on the toolkit's timer. WeakRef, which
// program code reaches through this header, is in framework/WeakRef.h.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/Controls.h"
#include "framework/Protocol.h"
#include "framework/WeakRef.h"

namespace fw {

namespace detail {
class TimerPeer;
}

// An object told each time an actionSource acts.
class actionNotificationReceiver {
 public:
  virtual ~actionNotificationReceiver() = default;
  virtual void PerformAction() = 0;
};

// A control that tells its receivers when it acts. It holds them weakly.
class actionSource {
 public:
  virtual ~actionSource() = default;
  virtual void addActionNotificationReceiver(const Ref<Object>& receiver) = 0;
  virtual void removeActionNotificationReceiver(const Ref<Object>& receiver) = 0;
};

// Fires its Action event (kTimerAction) after Period milliseconds: once
// with RunMode kTimerOnce, repeatedly with kTimerRepeating, never with
// kTimerOff. Setting either property (re)starts it with the current values.
// After its Action event it tells its receivers (actionSource); nothing in
// the program adds one.
class Timer : public Control, public actionSource {
 public:
  Timer();
  ~Timer() override;

  void addActionNotificationReceiver(const Ref<Object>& receiver) override;
  void removeActionNotificationReceiver(const Ref<Object>& receiver) override;

  std::int64_t RunMode() const { return runMode_; }
  void RunMode(std::int64_t v);
  std::int64_t Period() const { return period_; }
  void Period(std::int64_t v);
  bool IsArmed() const;

  std::string EventSignature(int eventNumber) const override;
  std::string ClassName() const override { return "Timer"; }
  const PropertySheet& Sheet() const override;

  // Called when the toolkit's timer fires.
  void _CallAction();

 private:
  void Restart();
  std::int64_t runMode_ = kTimerOff, period_ = 1000;
  std::unique_ptr<detail::TimerPeer> timer_;
  std::vector<std::weak_ptr<Object>> receivers_;
};

}  // namespace fw
