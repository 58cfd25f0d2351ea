// The description window: the explanatory text of the measure in a
// read-only, scrollable, styled text area, its heading set in bold when the
// window opens, and the printing of that text. It carries the program's
// menu bar as its own without displaying it (Alt reveals it), and handles
// Control, About and Print from it.
//
// The window is made only through DescriptionWnd(), hidden; callers show
// it. Its layout (the menu bar, the window's list, the two text areas and
// the text) is in DescriptionWndLayout.cpp; its handlers are in
// DescriptionWnd.cpp. It keeps no state of its own.
#pragma once

#include "framework/Controls.h"
#include "framework/Menu.h"
#include "framework/Window.h"

class DescriptionWnd : public fw::Window {
 public:
  static constexpr const char* kClassName = "DescriptionWnd.DescriptionWnd";

  void Layout() override;
  void CreateControls() override;
  void _CreateControls0();
  fw::Ref<fw::TextArea> DescribeFld();
  fw::Ref<fw::TextArea> DescribeFld2();

  // The items of the window's own menu bar, looked up by Name on every
  // call; NilObjectException when the window has no menu bar.
  fw::Ref<fw::MenuItem> UntitledMenu2();
  fw::Ref<fw::MenuItem> WindowMenu();
  fw::Ref<fw::AppleMenuItem> UntitledMenu4();
  fw::Ref<fw::AppleMenuItem> AboutTavik();
  fw::Ref<fw::MenuItem> UntitledMenu5();
  fw::Ref<fw::MenuItem> AboutMenuItem();
  fw::Ref<fw::MenuItem> DescriptionMenuItem();
  fw::Ref<fw::MenuItem> ControlMenuItem();
  fw::Ref<fw::MenuItem> UntitledMenu0();
  fw::Ref<fw::MenuItem> UntitledMenu6();
  fw::Ref<fw::MenuItem> EditClear();
  fw::Ref<fw::MenuItem> EditPaste();
  fw::Ref<fw::MenuItem> EditCopy();
  fw::Ref<fw::MenuItem> EditCut();
  fw::Ref<fw::MenuItem> UntitledMenu1();
  fw::Ref<fw::MenuItem> EditUndo();
  fw::Ref<fw::MenuItem> FileMenu();
  fw::Ref<fw::MenuItem> UntitledMenu7();
  fw::Ref<fw::QuitMenuItem> FileQuit();
  fw::Ref<fw::MenuItem> Print();
  fw::Ref<fw::MenuItem> UntitledMenu3();

  void AddMenuHandlers(fw::Ref<fw::Window> window) override;
  void Event_Open() override;
  void Event_EnableMenuItems() override;
  bool _ControlMenuItem_Action();
  bool _AboutMenuItem_Action();
  bool _Print_Action();

  std::string ClassName() const override { return kClassName; }

 private:
  template <class T>
  fw::Ref<T> OwnItem(const char* name);
};

// The description window: the open one, shown or hidden, or a new one,
// which stays hidden until its caller shows it.
fw::Ref<class DescriptionWnd> DescriptionWnd();
