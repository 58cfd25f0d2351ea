// The seam between the model and a widget toolkit. Internal to framework/.
//
// Windows and controls hold their state in the model and mirror it to a
// peer: an object of the toolkit that draws them and reports the user's
// input. The toolkit adapter (framework/qt/) installs a Toolkit at start-up;
// with none installed, windows and controls are model-only (peerless), the
// event loop returns at once and no message box is shown, so the core runs
// without a display.
//
// The peers only turn model state into widgets and input back into calls
// of the entry points at the end of this header; every rule (which key
// does what, what a text area accepts, the tab order) lives in the model.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Object.h"

namespace fw {

class Window;
class RectControl;
class Label;
class TextArea;
class PushButton;
class Canvas;
class RoundRectangle;
class Timer;
class MenuBar;
class Graphics;
class StyledTextPrinter;

namespace detail {

// The font keys of a control, as the toolkit is to show them.
struct FontSpec {
  String name;
  float size = 0;
  bool bold = false, italic = false, underline = false;
};

// The toolkit's side of one visual control.
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  // In the coordinates of the widget's parent.
  virtual void SetGeometry(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void SetTooltip(const String& text) = 0;
  virtual void SetFont(const FontSpec& font) = 0;
  // Reads the control's look (colours, alignment, flags) from the model again.
  virtual void ApplyLook() = 0;
  // Places the widget inside `container`'s, or in the window's content area
  // for none; a widget that moves is shown or hidden as `visible` says.
  virtual void SetParent(ControlPeer* container, bool visible) = 0;
  virtual void SetFocus() = 0;
  virtual bool HasFocus() const = 0;
  // Whether Tab may bring the focus here, whatever the control's state.
  virtual bool TakesTabFocus() const = 0;
  virtual void Repaint() = 0;
  // The text of labels, buttons and text areas.
  virtual void SetText(const String& text) { (void)text; }
  virtual String Text() const { return {}; }
  // A click as the user's, for buttons.
  virtual void Click() {}
  // A text area's selection, counted in characters of its text (a CR LF
  // line break is two), and the bold style of the selected characters.
  virtual void Select(std::int64_t /*start*/, std::int64_t /*length*/) {}
  virtual std::int64_t SelectionStart() const { return 0; }
  virtual std::int64_t SelectionLength() const { return 0; }
  virtual bool SelectionBold() const { return false; }
  virtual void SetSelectionBold(bool bold) { (void)bold; }
  // A printer of a copy of a text area's styled text onto `graphics`, in
  // lines `width` units wide.
  virtual Ref<StyledTextPrinter> PrintText(const Ref<Graphics>& graphics, std::int64_t width);
};

// The toolkit's side of a timer.
class TimerPeer {
 public:
  virtual ~TimerPeer() = default;
  virtual void Start(bool singleShot, int milliseconds) = 0;
  virtual void Stop() = 0;
  virtual bool IsActive() const = 0;
};

// The toolkit's side of a window.
class WindowPeer {
 public:
  virtual ~WindowPeer() = default;
  virtual void SetTitle(const String& title) = 0;
  // Reads the frame (type, buttons, title) from the model.
  virtual void ApplyFrame() = 0;
  // Reads the size, its bounds and Resizeable from the model.
  virtual void ApplyGeometry() = 0;
  // The window's menu bar; a hidden one stays out of sight until the user
  // reveals it from the keyboard.
  virtual void ShowMenuBar(const Ref<MenuBar>& bar, bool hidden) = 0;
  // Tab goes through these controls in this order.
  virtual void SetTabOrder(const std::vector<ControlPeer*>& order) = 0;
  // The place of a window shown for the first time: centred on the screen,
  // or at (left, top).
  virtual void Place(bool centred, std::int64_t left, std::int64_t top) = 0;
  // Shows, raises and activates the window; a minimised one is restored
  // first.
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool IsShown() const = 0;
  virtual void Repaint() = 0;
  // Hides the window and lets its widgets go once the events in flight are
  // done, so that no handler ever runs on a deleted widget.
  virtual void Dispose() = 0;
};

// The picture data a toolkit decodes.
class PictureData {
 public:
  virtual ~PictureData() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

// What the core asks of a widget toolkit.
class Toolkit {
 public:
  virtual ~Toolkit() = default;

  virtual std::unique_ptr<WindowPeer> MakeWindow(Window& owner) = 0;
  virtual std::unique_ptr<ControlPeer> MakeLabel(Label& owner, WindowPeer& window) = 0;
  virtual std::unique_ptr<ControlPeer> MakeTextArea(TextArea& owner, WindowPeer& window) = 0;
  virtual std::unique_ptr<ControlPeer> MakePushButton(PushButton& owner, WindowPeer& window) = 0;
  virtual std::unique_ptr<ControlPeer> MakeCanvas(Canvas& owner, WindowPeer& window) = 0;
  virtual std::unique_ptr<ControlPeer> MakeRoundRectangle(RoundRectangle& owner, WindowPeer& window) = 0;
  // `window` may be none: a timer of no window.
  virtual std::unique_ptr<TimerPeer> MakeTimer(Timer& owner, WindowPeer* window) = 0;
  // The window the user is working in, or none.
  virtual Ref<Window> FrontWindow() = 0;
  // The picture in that file; none when it is not one.
  virtual std::shared_ptr<PictureData> DecodePicture(const std::string& path) = 0;

  // Makes (or adopts) the toolkit's application before the ready callback.
  // False when it cannot run here, with `problem` saying why in a line.
  virtual bool StartGui(bool supportsHiDPI, const String& applicationName, std::string& problem) = 0;
  virtual bool GuiIsUp() = 0;
  virtual void RunLoop() = 0;
  virtual void ExitLoop(int code) = 0;
  // A modal box; `dismissAtOnce` closes it as soon as it is on screen.
  virtual void MessageBox(const std::string& title, const std::string& text, bool dismissAtOnce) = 0;
  virtual void Beep() = 0;
  // Closes every window and ends the application the toolkit made.
  virtual void Shutdown() = 0;

  // Printing (framework/Printing.h): the system's print dialog over
  // `parent` (none for no window), giving the page graphics of a new job
  // named `jobName`, or none when cancelled or when the job cannot start
  // (reported through ReportPrintFailure); the graphics of a job that prints
  // into a PDF file; and one pass over the pending events other than user
  // input.
  virtual Ref<Graphics> OpenPrinterDialog(Window* parent, const std::string& jobName) = 0;
  virtual Ref<Graphics> PdfPrintJob(const std::string& path) = 0;
  virtual void BackgroundTask() = 0;
};

// Installed once, before any window is made; the core never deletes it.
void InstallToolkit(Toolkit* toolkit);
Toolkit* InstalledToolkit();

// Closes every window without raising events.
void CloseAllWindows();

// A print job that could not start or finish: one line on standard error
// and one message box, titled like MsgBox's. Nothing is raised.
void ReportPrintFailure(const std::string& text);

// Starts `work` on a detached thread of its own for a step of the print
// path ("PrintServiceCheck", "PrintJobSend"). Raises std::system_error, as
// std::thread does, when no thread can start.
void StartPrintThread(const std::string& step, std::function<void()> work);

// ---- Where the user's input enters the model ----------------------------------

// A text area's text around its selection, as the user is editing it.
struct TextEdit {
  String before, selected, after;
  // The text as it would be with the selection replaced by `inserted`.
  String With(const String& inserted) const { return before + inserted + after; }
};

// What becomes of a key pressed in a text area.
enum class KeyResult {
  kTaken,   // dealt with: nothing else sees it
  kEditor,  // the editor acts on it as usual
  kWindow,  // the editor takes no part: the window may
};

// The control's KeyDown handler first, then Return (a new line where the
// area may take it, else the window's default button), then the limit and
// mask for a key that types `typed`.
// `edit` gives the text as it is when a rule asks, after the handler ran.
KeyResult TextAreaKeyDown(TextArea& area, const String& key, const String& typed, bool typedInserts,
                          const std::function<TextEdit()>& edit);
// What of pasted or dropped text goes in: the longest start that the limit
// leaves room for, or nothing when that does not fit the mask.
String TextAreaInsertion(const TextArea& area, String text, const TextEdit& edit);

void ButtonAction(PushButton& button);
// True when the handler claimed the press.
bool ButtonMouseDown(PushButton& button, std::int64_t x, std::int64_t y);

// The one home of "Return presses the default button": true when `key` is
// Return and the window had a default button to press.
bool ReturnPressesDefaultButton(Window& window, const String& key);

void WindowActivated(Window& window);
// The user closed the window: its Close event, then the window closes.
void WindowClosedByUser(Window& window);
// The window system asks to close the window (its close button, a window
// manager's close key, a task bar's Close). A window without a close button
// refuses, as it would have no close box to be closed with; false then.
// Otherwise as WindowClosedByUser, and true.
bool WindowCloseRequested(Window& window);
// A key that no control took: Return presses the default button, any other
// key (or Return without one) goes to the window's KeyDown. True when taken.
bool WindowKeyDown(Window& window, const String& key);
void WindowMouseDown(Window& window, std::int64_t x, std::int64_t y);

}  // namespace detail
}  // namespace fw
