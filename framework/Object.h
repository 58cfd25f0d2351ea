// The object model every part of Quorvel is written against: shared
// references that refuse access through none, the class-testing cast, the
// runtime's exception classes and the UI-thread check.
//
// It does not count references itself (std::shared_ptr does) and knows
// nothing of windows or Qt.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

namespace fw {

// Text is UTF-8 throughout the program.
using String = std::string;

class RuntimeException : public std::exception {
 public:
  explicit RuntimeException(std::string message = {}) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const noexcept { return message_; }
  // The class name the unhandled-exception report prints.
  virtual const char* ClassName() const noexcept { return "RuntimeException"; }

 private:
  std::string message_;
};

class NilObjectException : public RuntimeException {
 public:
  explicit NilObjectException(std::string message = "an object was used through a reference to none")
      : RuntimeException(std::move(message)) {}
  const char* ClassName() const noexcept override { return "NilObjectException"; }
};

class IllegalCastException : public RuntimeException {
 public:
  using RuntimeException::RuntimeException;
  const char* ClassName() const noexcept override { return "IllegalCastException"; }
};

class ThreadAccessingUIException : public RuntimeException {
 public:
  using RuntimeException::RuntimeException;
  const char* ClassName() const noexcept override { return "ThreadAccessingUIException"; }
};

// Base of every framework and program object. Objects are always owned by
// Ref (make them with New), so an object can hand out references to itself.
class Object : public std::enable_shared_from_this<Object> {
 public:
  Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  virtual ~Object() = default;

  // The runtime's name of the object's class, e.g. "ControlWnd.ControlWnd".
  virtual std::string ClassName() const { return "Object"; }
};

// A shared reference that may be none. Access through none raises
// NilObjectException instead of crashing.
template <class T>
class Ref {
 public:
  Ref() = default;
  Ref(std::nullptr_t) {}                           // NOLINT: none converts implicitly, as in the program's language
  Ref(std::shared_ptr<T> p) : p_(std::move(p)) {}  // NOLINT
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(const Ref<U>& other) : p_(other.shared()) {}  // NOLINT

  T* operator->() const { return &**this; }
  T& operator*() const {
    if (!p_) throw NilObjectException();
    return *p_;
  }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  bool IsNone() const noexcept { return p_ == nullptr; }
  T* get() const noexcept { return p_.get(); }
  const std::shared_ptr<T>& shared() const noexcept { return p_; }
  void Reset() noexcept { p_.reset(); }

  template <class U>
  bool operator==(const Ref<U>& other) const noexcept {
    return static_cast<const void*>(get()) == static_cast<const void*>(other.get());
  }
  bool operator==(std::nullptr_t) const noexcept { return p_ == nullptr; }

 private:
  std::shared_ptr<T> p_;
};

template <class T, class... A>
Ref<T> New(A&&... args) {
  return Ref<T>(std::make_shared<T>(std::forward<A>(args)...));
}

// The class-testing cast: none stays none, an object of another class raises.
template <class T, class U>
Ref<T> Cast(const Ref<U>& from) {
  if (!from) return {};
  auto to = std::dynamic_pointer_cast<T>(from.shared());
  if (!to) {
    throw IllegalCastException("an object of class " + from->ClassName() + " is not of the class asked for");
  }
  return Ref<T>(std::move(to));
}

// A reference to the object itself; T must be the object's class or a base.
template <class T>
Ref<T> Self(T* object) {
  return Ref<T>(std::static_pointer_cast<T>(static_cast<Object*>(object)->shared_from_this()));
}

// The UI thread is the one that started the runtime (RuntimeInit), or the
// one that loaded the program before that. Window, control, menu and
// application operations call CheckUIThread first.
void CheckUIThread(const char* operation);
void MakeCurrentThreadTheUIThread();

}  // namespace fw
