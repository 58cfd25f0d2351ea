// The program's one menu bar, built on the first call of Menu() and kept
// for the run, and the global accessors that find an item of the
// application's menu bar by Name.
#pragma once

#include "framework/Menu.h"

class Menu : public fw::MenuBar {
 public:
  // Builds the whole tree: Untitled0 to Untitled4, in bar order.
  void Constructor() override;
  void Untitled0();
  void Untitled1();
  void Untitled2();
  void Untitled3();
  void Untitled4();
  std::string ClassName() const override { return "Menu.Menu"; }

 private:
  void Build(int builder);
};

// The one menu bar; the first call builds it and keeps it once its
// construction has completed.
fw::Ref<class Menu> Menu();

// An item of the application's menu bar, looked up afresh by Name; none
// for a Name no item bears. NilObjectException without an application
// object or without a menu bar.
fw::Ref<fw::AppleMenuItem> AboutTavik();
fw::Ref<fw::MenuItem> AboutMenuItem();
fw::Ref<fw::MenuItem> DescriptionMenuItem();
fw::Ref<fw::MenuItem> ControlMenuItem();

// The caption both About items share.
inline constexpr const char* kAboutCaption = "About Quorvel";
