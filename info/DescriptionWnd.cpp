#include "info/DescriptionWnd.h"

#include "calculator/ControlWnd.h"
#include "framework/LayoutTable.h"
#include "framework/Printing.h"
#include "framework/Protocol.h"
#include "info/AboutWnd.h"
#include "info/DescriptionWndLayout.h"

fw::Ref<class DescriptionWnd> DescriptionWnd() { return fw::RuntimeImplicitWindow<class DescriptionWnd>(); }

fw::Ref<fw::TextArea> DescriptionWnd::DescribeFld() { return fw::ControlNamed<fw::TextArea>(*this, "DescribeFld"); }
fw::Ref<fw::TextArea> DescriptionWnd::DescribeFld2() { return fw::ControlNamed<fw::TextArea>(*this, "DescribeFld2"); }

// An item of the window's own menu bar, at any depth, as class T; none for
// a Name that no item bears.
template <class T>
fw::Ref<T> DescriptionWnd::OwnItem(const char* name) {
  auto bar = MenuBar();
  if (!bar) throw fw::NilObjectException(ClassName() + " has no menu bar to find " + name + " in");
  return fw::Cast<T>(bar->_Lookup(name));
}

fw::Ref<fw::MenuItem> DescriptionWnd::UntitledMenu2() { return OwnItem<fw::MenuItem>("UntitledMenu2"); }
fw::Ref<fw::MenuItem> DescriptionWnd::WindowMenu() { return OwnItem<fw::MenuItem>("WindowMenu"); }
fw::Ref<fw::AppleMenuItem> DescriptionWnd::UntitledMenu4() { return OwnItem<fw::AppleMenuItem>("UntitledMenu4"); }
fw::Ref<fw::AppleMenuItem> DescriptionWnd::AboutTavik() { return OwnItem<fw::AppleMenuItem>("AboutTavik"); }
fw::Ref<fw::MenuItem> DescriptionWnd::UntitledMenu5() { return OwnItem<fw::MenuItem>("UntitledMenu5"); }
fw::Ref<fw::MenuItem> DescriptionWnd::AboutMenuItem() { return OwnItem<fw::MenuItem>("AboutMenuItem"); }
fw::Ref<fw::MenuItem> DescriptionWnd::DescriptionMenuItem() { return OwnItem<fw::MenuItem>("DescriptionMenuItem"); }
fw::Ref<fw::MenuItem> DescriptionWnd::ControlMenuItem() { return OwnItem<fw::MenuItem>("ControlMenuItem"); }
fw::Ref<fw::MenuItem> DescriptionWnd::UntitledMenu0() { return OwnItem<fw::MenuItem>("UntitledMenu0"); }
fw::Ref<fw::MenuItem> DescriptionWnd::UntitledMenu6() { return OwnItem<fw::MenuItem>("UntitledMenu6"); }
fw::Ref<fw::MenuItem> DescriptionWnd::EditClear() { return OwnItem<fw::MenuItem>("EditClear"); }
fw::Ref<fw::MenuItem> DescriptionWnd::EditPaste() { return OwnItem<fw::MenuItem>("EditPaste"); }
fw::Ref<fw::MenuItem> DescriptionWnd::EditCopy() { return OwnItem<fw::MenuItem>("EditCopy"); }
fw::Ref<fw::MenuItem> DescriptionWnd::EditCut() { return OwnItem<fw::MenuItem>("EditCut"); }
fw::Ref<fw::MenuItem> DescriptionWnd::UntitledMenu1() { return OwnItem<fw::MenuItem>("UntitledMenu1"); }
fw::Ref<fw::MenuItem> DescriptionWnd::EditUndo() { return OwnItem<fw::MenuItem>("EditUndo"); }
fw::Ref<fw::MenuItem> DescriptionWnd::FileMenu() { return OwnItem<fw::MenuItem>("FileMenu"); }
fw::Ref<fw::MenuItem> DescriptionWnd::UntitledMenu7() { return OwnItem<fw::MenuItem>("UntitledMenu7"); }
fw::Ref<fw::QuitMenuItem> DescriptionWnd::FileQuit() { return OwnItem<fw::QuitMenuItem>("FileQuit"); }
fw::Ref<fw::MenuItem> DescriptionWnd::Print() { return OwnItem<fw::MenuItem>("Print"); }
fw::Ref<fw::MenuItem> DescriptionWnd::UntitledMenu3() { return OwnItem<fw::MenuItem>("UntitledMenu3"); }

void DescriptionWnd::AddMenuHandlers(fw::Ref<fw::Window> window) {
  auto self = fw::Cast<class DescriptionWnd>(window);
  window->_AddMenuHandler("ControlMenuItem", fw::RuntimeCreateDelegate(fw::kMenuHandlerSignature, self,
                                                                       &DescriptionWnd::_ControlMenuItem_Action));
  window->_AddMenuHandler("AboutMenuItem", fw::RuntimeCreateDelegate(fw::kMenuHandlerSignature, self,
                                                                     &DescriptionWnd::_AboutMenuItem_Action));
  window->_AddMenuHandler("Print",
                          fw::RuntimeCreateDelegate(fw::kMenuHandlerSignature, self, &DescriptionWnd::_Print_Action));
}

// The heading opens in bold and stays selected. Its length is fixed with
// the text; the field's text is not searched.
void DescriptionWnd::Event_Open() {
  DescribeFld2()->SelectionStart(0);
  DescribeFld2()->SelectionLength(DescriptionWndLayout::kHeadingLength);
  DescribeFld2()->SelectionBold(true);
}

// Print is left to the framework's automatic enabling.
void DescriptionWnd::Event_EnableMenuItems() {
  ControlMenuItem()->Enabled(true);
  AboutMenuItem()->Enabled(true);
}

bool DescriptionWnd::_ControlMenuItem_Action() {
  auto calculator = ::ControlWnd();
  calculator->Show();
  return false;
}

bool DescriptionWnd::_AboutMenuItem_Action() {
  ShowAboutWindow();
  return false;
}

// One block of at most 720 units a page, each at the page's origin, a new
// page only between blocks, and one background-task yield a block. The job
// is sent when the graphics goes, on return.
bool DescriptionWnd::_Print_Action() {
  fw::Ref<fw::Graphics> graphics = fw::OpenPrinterDialog({}, {});
  if (!graphics) return false;
  fw::Ref<fw::StyledTextPrinter> printer = DescribeFld2()->styledTextPrinter(graphics, 540);
  while (!printer->EOF()) {
    printer->DrawBlock(0, 0, 720);
    if (!printer->EOF()) graphics->NextPage();
    fw::RuntimeBackgroundTask();
  }
  return false;
}
