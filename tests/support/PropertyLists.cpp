#include "tests/support/PropertyLists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <variant>

namespace testsupport {

using I = std::int64_t;

std::string Show(const fw::PropertyValue& value) {
  struct {
    std::string operator()(I x) const { return std::to_string(x); }
    std::string operator()(bool x) const { return x ? "True" : "False"; }
    std::string operator()(double x) const { return std::to_string(x) + " (Double)"; }
    std::string operator()(float x) const { return std::to_string(x) + " (Single)"; }
    std::string operator()(const fw::String& x) const { return "\"" + x + "\""; }
    std::string operator()(fw::Color c) const {
      char buffer[32];
      std::snprintf(buffer, sizeof buffer, "bytes %02x %02x %02x %02x", c.red, c.green, c.blue, c.alpha);
      return buffer;
    }
    std::string operator()(fw::EnumByte e) const { return "enum " + std::to_string(e.value); }
  } visitor;
  return std::visit(visitor, value);
}

void ExpectList(const fw::PropertyList& actual, const fw::PropertyList& expected, const std::string& what) {
  SCOPED_TRACE(what);
  EXPECT_EQ(actual.size(), expected.size()) << "keys in the list";
  for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i) {
    EXPECT_EQ(actual[i].key, expected[i].key) << "key #" << i + 1;
    EXPECT_TRUE(actual[i].value == expected[i].value) << "key #" << i + 1 << " " << expected[i].key << " is "
                                                      << Show(actual[i].value) << ", not " << Show(expected[i].value);
  }
}

fw::PropertyList With(fw::PropertyList list, const fw::PropertyList& changes) {
  for (const auto& change : changes) {
    auto at = std::find_if(list.begin(), list.end(), [&](const fw::Property& p) { return p.key == change.key; });
    if (at == list.end()) {
      ADD_FAILURE() << "no key " << change.key << " to change";
      continue;
    }
    at->value = change.value;
  }
  return list;
}

fw::PropertyList ControlHead(const std::string& name, Place place, I tabIndex, bool locked) {
  return {{"Name", fw::String(name)}, {"Index", I{-2147483648LL}}, {"Left", place.left},   {"Top", place.top},
          {"Width", place.width},     {"Height", place.height},    {"LockLeft", locked},   {"LockTop", locked},
          {"LockRight", locked},      {"LockBottom", locked},      {"TabIndex", tabIndex}, {"TabPanelIndex", I{0}}};
}

}  // namespace testsupport
