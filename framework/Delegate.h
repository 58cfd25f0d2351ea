// A delegate: a callable made from a function, a target object (or none) and
// the signature text the program gives it, such as "(  ) as Boolean".
//
// A method delegate keeps only a weak hold on its target, so a window's
// event handlers never keep the window alive; calling one whose target is
// none, or gone, raises NilObjectException. A delegate does not check its
// signature text against its function's type: the runtime compares texts
// where an event is bound (RuntimeAddEventHandler).
#pragma once

#include <any>
#include <functional>
#include <string>

#include "framework/Object.h"

namespace fw {

class Delegate final : public Object {
 public:
  template <class R, class... A>
  Delegate(std::string signature, std::function<R(A...)> fn, bool hasTarget)
      : signature_(std::move(signature)), fn_(std::move(fn)), hasTarget_(hasTarget) {}

  const std::string& Signature() const noexcept { return signature_; }
  bool IsMethod() const noexcept { return hasTarget_; }
  std::string ClassName() const override { return "Delegate"; }

  // Calls the delegate with exactly the argument types it was made with.
  template <class R, class... A>
  R Invoke(A... args) const {
    auto* fn = std::any_cast<std::function<R(A...)>>(&fn_);
    if (!fn) throw RuntimeException("the delegate " + signature_ + " was called with other argument types");
    return (*fn)(std::forward<A>(args)...);
  }

 private:
  std::string signature_;
  std::any fn_;
  bool hasTarget_;
};

// A delegate on a function with no target.
template <class R, class... A>
Ref<Delegate> RuntimeCreateDelegate(std::string signature, std::function<R(A...)> fn) {
  return New<Delegate>(std::move(signature), std::move(fn), false);
}

// A delegate on an operation of `target`; `target` may be none, and the
// delegate then raises NilObjectException when called.
template <class T, class R, class... A>
Ref<Delegate> RuntimeCreateDelegate(std::string signature, const Ref<T>& target, R (T::*operation)(A...)) {
  std::weak_ptr<T> weak = target.shared();
  std::function<R(A...)> call = [weak, operation](A... args) -> R {
    auto self = weak.lock();
    if (!self) throw NilObjectException("a delegate was called whose target is none");
    return ((*self).*operation)(std::forward<A>(args)...);
  };
  return New<Delegate>(std::move(signature), std::move(call), true);
}

}  // namespace fw
