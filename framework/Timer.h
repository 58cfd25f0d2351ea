// The non-visual controls: Timer, on a Qt timer, and WeakRef, a reference
// that does not keep its object alive.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/Controls.h"

namespace fw {

class WeakRef : public Object {
 public:
  WeakRef() = default;
  explicit WeakRef(const Ref<Object>& target) { Constructor(target); }
  void Constructor(const Ref<Object>& target) { target_ = target.shared(); }
  // The object, or none once it is gone.
  Ref<Object> Value() const { return Ref<Object>(target_.lock()); }
  std::string ClassName() const override { return "WeakRef"; }

 private:
  std::weak_ptr<Object> target_;
};

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

  // Called when the Qt timer fires.
  void _CallAction();

 private:
  void Restart();
  std::int64_t runMode_ = 0, period_ = 1000;
};

}  // namespace fw
