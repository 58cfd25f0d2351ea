// The non-visual control Timer, on the toolkit's timer. WeakRef, which
// program code reaches through this header, is in framework/WeakRef.h.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/Controls.h"
#include "framework/WeakRef.h"

namespace fw {

namespace detail {
class TimerPeer;
}

// Fires its Action event (number 0) after Period milliseconds: once with
// RunMode 1, repeatedly with 2, never with 0. Setting either property
// (re)starts it with the current values.
class Timer : public Control {
 public:
  Timer();
  ~Timer() override;

  std::int64_t RunMode() const { return runMode_; }
  void RunMode(std::int64_t v);
  std::int64_t Period() const { return period_; }
  void Period(std::int64_t v);
  // Stops a running timer and starts it anew with its current values.
  void Reset();
  bool IsArmed() const;

  std::string EventSignature(int eventNumber) const override;
  std::string ClassName() const override { return "Timer"; }
  const PropertySheet& Sheet() const override;

  // Called when the toolkit's timer fires.
  void _CallAction();

 private:
  void Restart();
  std::int64_t runMode_ = 0, period_ = 1000;
  std::unique_ptr<detail::TimerPeer> timer_;
};

}  // namespace fw
