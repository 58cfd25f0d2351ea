// The windows on a real X server, where the window system has a say that
// the offscreen platform cannot give it: close requests sent as a window
// manager sends them (WM_DELETE_WINDOW), and activation that follows the
// server's focus. The program starts a private Xvfb of its own before its
// QApplication, on a display that Xvfb chooses (-displayfd).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "framework/Run.h"
#include "framework/qt/X11.h"
#include "info/AboutWnd.h"
#include "info/DescriptionWnd.h"
#include "shell/Menu.h"
#include "shell/Startup.h"
#include "tests/support/GuiTest.h"
#include "tests/support/ResetEachTest.h"
#include "tests/support/X11Session.h"

namespace {

using fw::test::WidgetOf;

// What a window manager sends when the user closes a window, from a
// connection of its own.
void SendCloseRequest(QWidget* window) {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  ASSERT_FALSE(xcb_connection_has_error(c));
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = static_cast<xcb_window_t>(window->winId());
  message.type = fw::detail::X11Atom(c, "WM_PROTOCOLS");
  message.data.data32[0] = fw::detail::X11Atom(c, "WM_DELETE_WINDOW");
  message.data.data32[1] = XCB_CURRENT_TIME;
  // Checked, so that the server has taken the request before the
  // connection goes: a request still in flight at the close may be lost.
  xcb_generic_error_t* error = xcb_request_check(
      c,
      xcb_send_event_checked(c, 0, message.window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message)));
  EXPECT_EQ(error, nullptr) << "the close request was not sent";
  std::free(error);
  xcb_disconnect(c);
}

fw::Ref<class AboutWnd> OpenAbout() {
  auto open = fw::RuntimeGetImplicitWindow(AboutWnd::kClassName);
  return open ? fw::Cast<class AboutWnd>(open) : fw::Ref<class AboutWnd>();
}

class X11Test : public GuiTest {
 protected:
  void TearDown() override {
    GuiTest::TearDown();
    EXPECT_FALSE(x11test::AnyKeyDown()) << "a key was left down";
  }
};

TEST_F(X11Test, AWindowWithoutACloseButtonRefusesTheWindowSystemsCloseRequest) {
  _MakeDefaultView();
  auto about = OpenAbout();
  ASSERT_TRUE(about);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(WidgetOf(about)));

  // Before the hand-over: the window stays, and its timer still brings the
  // calculator up.
  SendCloseRequest(WidgetOf(about));
  Wait(300);
  EXPECT_TRUE(about->IsOpen());
  EXPECT_TRUE(about->IsShown());
  ASSERT_TRUE(QTest::qWaitFor([] { return bool(fw::RuntimeGetImplicitWindow(ControlWnd::kClassName)); }, 9000))
      << "nothing showed the calculator";
  auto calc = fw::RuntimeGetImplicitWindow(ControlWnd::kClassName);
  EXPECT_TRUE(QTest::qWaitFor([&] { return calc->IsShown() && !about->IsShown(); }, 5000));

  // A window with a close button closes; the calculator's close quits with 0.
  auto description = DescriptionWnd();
  description->Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(WidgetOf(description)));
  SendCloseRequest(WidgetOf(description));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !description->IsOpen(); }, 5000));
  EXPECT_FALSE(fw::RuntimeQuitRequested());
  SendCloseRequest(WidgetOf(calc));
  EXPECT_TRUE(QTest::qWaitFor([] { return fw::RuntimeQuitRequested(); }, 5000));
  EXPECT_FALSE(calc->IsOpen());
}

// The About window closed, then chosen again from the calculator's Window
// menu as a user does, with the mouse on the real menu: the new window is
// built and shown, and stays shown.
TEST_F(X11Test, AnAboutWindowBuiltAgainFromTheMenuStaysShown) {
  auto calc = fw::Cast<class ControlWnd>(fw::Ref<fw::Window>(ControlWnd()));
  ASSERT_TRUE(QTest::qWaitForWindowActive(WidgetOf(calc)));
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    if (auto old = OpenAbout()) old->Close();
    ASSERT_FALSE(OpenAbout());
    Wait(200);

    x11test::ChooseFromBar(WidgetOf(calc)->menuBar(), "Window", kAboutCaption);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(QTest::qWaitFor([] { return bool(OpenAbout()) && OpenAbout()->IsShown(); }, 5000))
        << "no About window shown";
    Wait(500);  // the menu's focus comes back to the calculator meanwhile
    EXPECT_TRUE(bool(OpenAbout()) && OpenAbout()->IsShown()) << "the About window was hidden again";
    EXPECT_TRUE(calc->IsShown());
  }
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();  // no display needed to list them
  if (!x11test::StartXvfb()) {
    std::fprintf(stderr, "gui_x11: Xvfb did not start\n");
    return 1;
  }
  qputenv("QT_QPA_PLATFORM", "xcb");
  QApplication app(argc, argv);
  ResetRuntimeBeforeEachTest();
  return RUN_ALL_TESTS();
}
