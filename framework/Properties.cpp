#include "framework/Properties.h"

namespace fw {

const char* PropertyTypeName(std::size_t typeIndex) {
  static const char* const names[] = {"Integer", "Boolean", "Double", "Single", "String", "Color", "Enumeration"};
  return typeIndex < std::size(names) ? names[typeIndex] : "?";
}

const char* PropertyTypeName(const PropertyValue& value) { return PropertyTypeName(value.index()); }

const PropertySheet::Entry* PropertySheet::Find(const std::string& key) const {
  for (const PropertySheet* sheet = this; sheet; sheet = sheet->parent_) {
    auto it = sheet->entries_.find(key);
    if (it != sheet->entries_.end()) return &it->second;
  }
  return nullptr;
}

void PropertySheet::Apply(Configurable& target, const Property& property) const {
  const Entry* entry = Find(property.key);
  if (!entry) throw RuntimeException(className_ + " has no property " + property.key);
  if (entry->type != property.value.index()) {
    throw RuntimeException(className_ + "." + property.key + " takes a " + PropertyTypeName(entry->type) + ", not a " +
                           PropertyTypeName(property.value));
  }
  if (entry->set) {
    entry->set(target, property.value);
  } else {
    target.Keep(property.key, property.value);
  }
}

const PropertyValue* Configurable::Kept(const std::string& key) const {
  auto it = kept_.find(key);
  return it == kept_.end() ? nullptr : &it->second;
}

void RuntimeMassPropertySetter(Configurable& target, const PropertyList& list) {
  CheckUIThread("RuntimeMassPropertySetter");
  const PropertySheet& sheet = target.Sheet();
  for (const auto& property : list) sheet.Apply(target, property);
}

}  // namespace fw
