// The About window: the start-up splash and the About box. It hands over
// to the calculator window when its single-shot timer fires 4000 ms after
// it was made, on a key, or on a press in it; the program only ever hides
// it, never closes it.
//
// Its layout lists are in AboutWndLayout.cpp, its handlers in AboutWnd.cpp.
#pragma once

#include <cstdint>

#include "framework/Controls.h"
#include "framework/Timer.h"
#include "framework/Window.h"

class AboutWnd : public fw::Window {
 public:
  static constexpr const char* kClassName = "AboutWnd.AboutWnd";

  // The class of the window's timer control: ties the timer to its window
  // through a weak reference, so the timer never keeps the window alive.
  // It serves actionSource through Timer's own operations, and _PaneChild
  // with the four below; the framework reaches its Index field through
  // _Index and _SetIndex (the field hides Control's Index key, which the
  // framework's property setter reaches through Control).
  class _wrapper_Timer1 : public fw::Timer {
   public:
    ~_wrapper_Timer1() override;
    void _SetWindow(const fw::Ref<fw::Window>& window) override;
    fw::Ref<fw::Window> Window() override;
    std::int64_t _Index() const override { return Index; }
    void _SetIndex(std::int64_t index) override { Index = index; }
    void Constructor() {}
    std::string ClassName() const override { return "AboutWnd._wrapper_Timer1"; }

    std::int64_t Index = 0;
    fw::Ref<fw::WeakRef> ownerWindow;
  };

  void Layout() override;
  void CreateControls() override;
  void _CreateControls0();
  fw::Ref<fw::Label> StaticText5();
  fw::Ref<fw::Canvas> Canvas1();
  fw::Ref<fw::Label> StaticText1();
  fw::Ref<fw::Timer> Timer1();
  void Timer1_Action(fw::Ref<fw::Timer> sender);
  bool Event_KeyDown(fw::String key) override;
  bool Event_MouseDown(std::int64_t x, std::int64_t y) override;

  std::string ClassName() const override { return kClassName; }
};

// The About window: the open one, shown or hidden, or a new one, which
// shows itself and arms its timer.
fw::Ref<class AboutWnd> AboutWnd();

// What every About menu handler does: the About window, shown.
void ShowAboutWindow();
