#include "info/AboutWnd.h"

#include "calculator/ControlWnd.h"
#include "framework/LayoutTable.h"

fw::Ref<class AboutWnd> AboutWnd() { return fw::RuntimeImplicitWindow<class AboutWnd>(); }

void ShowAboutWindow() {
  auto about = AboutWnd();
  about->Show();
}

AboutWnd::_wrapper_Timer1::~_wrapper_Timer1() { ownerWindow.Reset(); }

void AboutWnd::_wrapper_Timer1::_SetWindow(const fw::Ref<fw::Window>& window) {
  auto weak = fw::New<fw::WeakRef>();
  weak->Constructor(window);
  ownerWindow = weak;
}

fw::Ref<fw::Window> AboutWnd::_wrapper_Timer1::Window() {
  if (!ownerWindow) return {};
  auto window = ownerWindow->Value();
  return window ? fw::Cast<fw::Window>(window) : fw::Ref<fw::Window>();
}

fw::Ref<fw::Label> AboutWnd::StaticText5() { return fw::ControlNamed<fw::Label>(*this, "StaticText5"); }
fw::Ref<fw::Canvas> AboutWnd::Canvas1() { return fw::ControlNamed<fw::Canvas>(*this, "Canvas1"); }
fw::Ref<fw::Label> AboutWnd::StaticText1() { return fw::ControlNamed<fw::Label>(*this, "StaticText1"); }
fw::Ref<fw::Timer> AboutWnd::Timer1() { return fw::ControlNamed<fw::Timer>(*this, "Timer1"); }

namespace {
// Hide the About window first, then show the calculator window (made on
// the first hand-over).
void HandOver() {
  ::AboutWnd()->Hide();
  ::ControlWnd()->Show();
}
}  // namespace

void AboutWnd::Timer1_Action(fw::Ref<fw::Timer>) { HandOver(); }

bool AboutWnd::Event_KeyDown(fw::String) {
  HandOver();
  return false;
}

bool AboutWnd::Event_MouseDown(std::int64_t, std::int64_t) {
  HandOver();
  return false;
}
