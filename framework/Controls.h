// The controls a window is built of, each mirrored to a toolkit peer
// (framework/Peers.h) when a toolkit is installed:
// RectControl and its kinds Label, TextArea, PushButton, Canvas and
// RoundRectangle, and the non-visual Timer. Left and Top are window
// coordinates, also for a control placed inside another (InitialParent).
//
// Controls hold their state in these objects and mirror it to the peer;
// without one they are model-only. A control's events reach program code
// only through the delegates bound with RuntimeAddEventHandler.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "framework/Delegate.h"
#include "framework/Picture.h"
#include "framework/Properties.h"
#include "framework/Protocol.h"

namespace fw {

class Window;
class Graphics;
class StyledTextPrinter;

namespace detail {
class ControlPeer;
}

// Event numbers of RuntimeAddEventHandler.
enum EventNumber : int {
  kTimerAction = 0,
  kKeyDown = 9,
  kAction = 15,
  kMouseDown = 18,
};

// What the framework asks of a control that stands in a window: its window
// and its place in a control array. Only the framework calls these; a
// control class of the program may serve them its own way (the About
// window's timer holds its window weakly and keeps its index in a field).
class _PaneChild {
 public:
  virtual ~_PaneChild() = default;
  virtual void _SetWindow(const Ref<fw::Window>& window) = 0;
  virtual Ref<fw::Window> Window() = 0;
  virtual std::int64_t _Index() const = 0;
  virtual void _SetIndex(std::int64_t index) = 0;
};

class Control : public Configurable, public _PaneChild {
 public:
  Control();
  ~Control() override;

  const String& Name() const { return name_; }
  void Name(const String& v) { name_ = v; }
  // The Index key: kept where the control's _PaneChild side keeps it.
  std::int64_t Index() const { return _Index(); }
  void Index(std::int64_t v) { _SetIndex(v); }

  // The window the control belongs to, or none once it is gone.
  Ref<fw::Window> Window() override;
  // Called by Window.__New; ties the control to its window.
  void _SetWindow(const Ref<fw::Window>& window) override;
  std::int64_t _Index() const override { return index_; }
  void _SetIndex(std::int64_t index) override { index_ = index; }
  // Window.__New: the window, and no place in a control array.
  void AttachTo(fw::Window* window);

  // The signature text a delegate for that event must carry, or empty
  // when the class has no such event.
  virtual std::string EventSignature(int eventNumber) const;
  void SetEventHandler(int eventNumber, const Ref<Delegate>& handler);
  Ref<Delegate> EventHandler(int eventNumber) const;

  std::string ClassName() const override { return "Control"; }
  const PropertySheet& Sheet() const override;
  detail::ControlPeer* Peer() const { return peer_.get(); }

 protected:
  std::unique_ptr<detail::ControlPeer> peer_;

 private:
  String name_;
  std::int64_t index_ = kNoIndex;
  std::weak_ptr<fw::Window> window_;
  std::map<int, Ref<Delegate>> handlers_;
};

// Binds `handler` to the control's event `eventNumber`. The delegate's
// signature text must be the event's; otherwise RuntimeException.
void RuntimeAddEventHandler(const Ref<Control>& control, int eventNumber, const Ref<Delegate>& handler);

class RectControl : public Control {
 public:
  // Makes the control's peer inside its window's, when the window has one.
  virtual void Constructor();

  void SetFocus();
  bool HasFocus() const;
  bool Visible() const { return visible_; }
  void Visible(bool v);
  bool Enabled() const { return enabled_; }
  void Enabled(bool v);
  std::int64_t Left() const { return left_; }
  void Left(std::int64_t v);
  std::int64_t Top() const { return top_; }
  void Top(std::int64_t v);
  std::int64_t Width() const { return width_; }
  void Width(std::int64_t v);
  std::int64_t Height() const { return height_; }
  void Height(std::int64_t v);
  std::int64_t TabIndex() const { return tabIndex_; }
  void TabIndex(std::int64_t v);
  bool TabStop() const { return tabStop_; }
  void TabStop(bool v);
  const String& Tooltip() const { return tooltip_; }
  void Tooltip(const String& v);
  // The name of the control this one is placed in; empty for the window.
  const String& InitialParent() const { return initialParent_; }
  void InitialParent(const String& v);
  bool Transparent() const { return transparent_; }
  void Transparent(bool v);

  // Font keys, shared by the kinds that show text.
  const String& FontName() const { return fontName_; }
  void FontName(const String& v);
  float FontSize() const { return fontSize_; }
  void FontSize(float v);
  bool Bold() const { return bold_; }
  void Bold(bool v);
  bool Italic() const { return italic_; }
  void Italic(bool v);
  bool Underline() const { return underline_; }
  void Underline(bool v);
  Color TextColor() const { return textColor_; }
  void TextColor(Color v);
  // One of kAlignDefault, kAlignLeft, kAlignCentre, kAlignRight.
  std::int64_t TextAlignment() const { return textAlignment_; }
  void TextAlignment(std::int64_t v);

  bool CanTakeFocus() const;
  std::string ClassName() const override { return "RectControl"; }
  const PropertySheet& Sheet() const override;

 protected:
  // Makes the control's peer; called only with a window that has one.
  virtual void CreateWidget() = 0;
  void ApplyGeometry();
  void ApplyFont();
  void ApplyLook();

  bool visible_ = true, enabled_ = true, tabStop_ = false, transparent_ = false;
  std::int64_t left_ = 0, top_ = 0, width_ = 0, height_ = 0, tabIndex_ = 0, textAlignment_ = kAlignDefault;
  String tooltip_, initialParent_, fontName_ = "System";
  float fontSize_ = 0;
  bool bold_ = false, italic_ = false, underline_ = false;
  Color textColor_{0, 0, 0, 0};
};

class Label : public RectControl {
 public:
  const String& Value() const { return value_; }
  void Value(const String& v);
  bool Multiline() const { return multiline_; }
  void Multiline(bool v);

  std::string ClassName() const override { return "Label"; }
  const PropertySheet& Sheet() const override;

 protected:
  void CreateWidget() override;

 private:
  String value_;
  bool multiline_ = false;
};

// Styled text the user edits. MaximumCharactersAllowed and ValidationMask
// hold however text arrives (typing, paste, drop, input methods); with
// Multiline False the area is one line and takes no Return. Its KeyDown
// handler sees every key first; True keeps the key out.
//
// Value keeps line breaks as lines: CR LF, LF or CR each set one break, and
// every break reads back as CR LF, the program's line ending.
class TextArea : public RectControl {
 public:
  String Value() const;
  void Value(const String& v);
  bool Multiline() const { return multiline_; }
  void Multiline(bool v);
  bool ReadOnly() const { return readOnly_; }
  void ReadOnly(bool v);
  bool AllowTabs() const { return allowTabs_; }
  void AllowTabs(bool v);
  bool AllowStyledText() const { return allowStyled_; }
  void AllowStyledText(bool v);
  bool HasBorder() const { return hasBorder_; }
  void HasBorder(bool v);
  bool HasHorizontalScrollbar() const { return hScroll_; }
  void HasHorizontalScrollbar(bool v);
  bool HasVerticalScrollbar() const { return vScroll_; }
  void HasVerticalScrollbar(bool v);
  Color BackgroundColor() const { return background_; }
  void BackgroundColor(Color v);
  // True: the selection is drawn only while the area has the focus, and is
  // kept as it is meanwhile. False: it is drawn at all times.
  bool HideSelection() const { return hideSelection_; }
  void HideSelection(bool v);
  // 0 for no limit.
  std::int64_t MaximumCharactersAllowed() const { return maxChars_; }
  void MaximumCharactersAllowed(std::int64_t v);
  // "#" stands for one digit; any other character stands for itself.
  const String& ValidationMask() const { return mask_; }
  void ValidationMask(const String& v);

  // Whether `text` may stand in the area under its limit and mask.
  bool Accepts(const String& text) const;

  // The selection, counted in characters of Value (a CR LF line break is
  // two): it covers [SelectionStart, SelectionStart + SelectionLength).
  // Setting the start leaves an empty selection there.
  std::int64_t SelectionStart() const;
  void SelectionStart(std::int64_t v);
  std::int64_t SelectionLength() const;
  void SelectionLength(std::int64_t v);
  // Whether every selected character is bold; setting it makes exactly the
  // selected characters bold or plain. A plain area (AllowStyledText False)
  // has one style for all its text: setting it there changes nothing.
  bool SelectionBold() const;
  void SelectionBold(bool v);

  // A printer of a copy of the area's styled text onto `graphics`, laid out
  // in lines `width` units wide (framework/Printing.h).
  Ref<StyledTextPrinter> styledTextPrinter(const Ref<Graphics>& graphics, std::int64_t width);

  std::string EventSignature(int eventNumber) const override;
  std::string ClassName() const override { return "TextArea"; }
  const PropertySheet& Sheet() const override;

 protected:
  void CreateWidget() override;

 private:
  bool multiline_ = false, readOnly_ = false, allowTabs_ = false, allowStyled_ = true, hasBorder_ = true,
       hScroll_ = false, vScroll_ = false, hideSelection_ = true;
  Color background_{0xff, 0xff, 0xff, 0};
  std::int64_t maxChars_ = 0;
  String mask_;
  String value_;                                           // the text of a model-only area
  std::int64_t selectionStart_ = 0, selectionLength_ = 0;  // a model-only area's selection
  bool selectionBold_ = false;
};

class PushButton : public RectControl {
 public:
  const String& Caption() const { return caption_; }
  void Caption(const String& v);
  bool Default() const { return default_; }
  void Default(bool v) { default_ = v; }
  bool Cancel() const { return cancel_; }
  void Cancel(bool v) { cancel_ = v; }

  // Presses the button as a click would: its Action event runs (at once
  // for a model-only button).
  void Push();

  std::string EventSignature(int eventNumber) const override;
  std::string ClassName() const override { return "PushButton"; }
  const PropertySheet& Sheet() const override;

 protected:
  void CreateWidget() override;

 private:
  String caption_;
  bool default_ = false, cancel_ = false;
};

// Draws its Backdrop unscaled at its top-left corner.
class Canvas : public RectControl {
 public:
  Ref<Picture> Backdrop() const { return backdrop_; }
  void Backdrop(const Ref<Picture>& picture);
  bool AllowFocus() const { return allowFocus_; }
  void AllowFocus(bool v) { allowFocus_ = v; }

  std::string ClassName() const override { return "Canvas"; }
  const PropertySheet& Sheet() const override;

 protected:
  void CreateWidget() override;

 private:
  Ref<Picture> backdrop_;
  bool allowFocus_ = false;
};

// A filled rounded rectangle with a border, drawn beneath its children.
class RoundRectangle : public RectControl {
 public:
  Color FillColor() const { return fill_; }
  void FillColor(Color v);
  Color BorderColor() const { return border_; }
  void BorderColor(Color v);
  double BorderThickness() const { return thickness_; }
  void BorderThickness(double v);
  double CornerWidth() const { return cornerWidth_; }
  void CornerWidth(double v);
  double CornerHeight() const { return cornerHeight_; }
  void CornerHeight(double v);

  std::string ClassName() const override { return "RoundRectangle"; }
  const PropertySheet& Sheet() const override;

 protected:
  void CreateWidget() override;

 private:
  Color fill_{0xff, 0xff, 0xff, 0}, border_{0, 0, 0, 0};
  double thickness_ = 1, cornerWidth_ = 0, cornerHeight_ = 0;
};

}  // namespace fw
