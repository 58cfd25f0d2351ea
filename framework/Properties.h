// Property lists: a window's or a control's layout as data, an ordered list
// of keys with typed values that RuntimeMassPropertySetter applies in list
// order through the class's own setters.
//
// Each class describes its keys in a PropertySheet (key, value type,
// setter). A key that the class does not know, or a value of another type,
// raises a RuntimeException naming the key and the class, so a typo in
// layout data fails loudly. Keys that only other platforms act on are
// declared as kept: accepted, stored and readable, with no effect.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "framework/Object.h"

namespace fw {

// Four bytes as stored: red, green, blue and transparency (00 is opaque).
struct Color {
  std::uint8_t red = 0, green = 0, blue = 0, alpha = 0;
  bool operator==(const Color&) const = default;
};

// A one-byte enumeration value, such as FontUnit.
struct EnumByte {
  std::uint8_t value = 0;
  bool operator==(const EnumByte&) const = default;
};

using PropertyValue = std::variant<std::int64_t, bool, double, float, String, Color, EnumByte>;

// The name of a value's type, as error messages and tests spell it.
const char* PropertyTypeName(const PropertyValue& value);
const char* PropertyTypeName(std::size_t typeIndex);

struct Property {
  std::string key;
  PropertyValue value;
  bool operator==(const Property&) const = default;
};
using PropertyList = std::vector<Property>;

class Configurable;

// The keys of one class, with a link to its parent class's sheet.
class PropertySheet {
 public:
  using Setter = std::function<void(Configurable&, const PropertyValue&)>;

  PropertySheet(std::string className, const PropertySheet* parent)
      : className_(std::move(className)), parent_(parent) {}

  // Declares `key`, set through `setter`; the setter's parameter type is
  // the key's value type.
  template <class C, class V>
  PropertySheet& Add(const std::string& key, void (C::*setter)(V)) {
    using Value = std::remove_cv_t<std::remove_reference_t<V>>;
    entries_[key] = Entry{IndexOf<Value>(), [setter](Configurable& target, const PropertyValue& v) {
                            (static_cast<C&>(target).*setter)(std::get<Value>(v));
                          }};
    return *this;
  }

  // Declares `key` as kept: stored on the object, with no effect.
  template <class V>
  PropertySheet& Keep(const std::string& key) {
    entries_[key] = Entry{IndexOf<V>(), nullptr};
    return *this;
  }

  const std::string& ClassName() const { return className_; }
  void Apply(Configurable& target, const Property& property) const;

 private:
  struct Entry {
    std::size_t type;
    Setter set;  // null for a kept key
  };
  template <class V>
  static std::size_t IndexOf() {
    return PropertyValue{std::in_place_type<V>}.index();
  }
  const Entry* Find(const std::string& key) const;

  std::string className_;
  const PropertySheet* parent_;
  std::map<std::string, Entry> entries_;
};

// An object that takes property lists: windows and controls.
class Configurable : public Object {
 public:
  virtual const PropertySheet& Sheet() const = 0;

  // The value a kept key was given, or none.
  const PropertyValue* Kept(const std::string& key) const;
  void Keep(const std::string& key, const PropertyValue& value) { kept_[key] = value; }

 private:
  std::map<std::string, PropertyValue> kept_;
};

// Sets the listed properties on `target`, in list order.
void RuntimeMassPropertySetter(Configurable& target, const PropertyList& list);
template <class T>
void RuntimeMassPropertySetter(const Ref<T>& target, const PropertyList& list) {
  RuntimeMassPropertySetter(static_cast<Configurable&>(*target), list);
}

}  // namespace fw
