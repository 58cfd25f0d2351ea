// A reference that does not keep its object alive: part of the object
// model, for objects that must not hold their owner (a window's timer).
#pragma once

#include <memory>

#include "framework/Object.h"

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

}  // namespace fw
