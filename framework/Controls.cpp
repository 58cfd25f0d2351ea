#include "framework/Controls.h"

#include <algorithm>
#include <limits>

#include "framework/Peers.h"
#include "framework/Run.h"
#include "framework/Text.h"
#include "framework/Window.h"

namespace fw {

// ---- Control -------------------------------------------------------------

Control::Control() = default;

// The peer goes with the control; it lets its widget go later, so that no
// event handler ever runs on a deleted widget.
Control::~Control() = default;

Ref<fw::Window> Control::Window() { return Ref<fw::Window>(window_.lock()); }

void Control::_SetWindow(const Ref<fw::Window>& window) { window_ = window.shared(); }

void Control::AttachTo(fw::Window* window) {
  _SetWindow(Self(window));
  _SetIndex(kNoIndex);
}

std::string Control::EventSignature(int) const { return {}; }

void Control::SetEventHandler(int eventNumber, const Ref<Delegate>& handler) { handlers_[eventNumber] = handler; }

Ref<Delegate> Control::EventHandler(int eventNumber) const {
  auto it = handlers_.find(eventNumber);
  return it == handlers_.end() ? Ref<Delegate>() : it->second;
}

const PropertySheet& Control::Sheet() const {
  static const PropertySheet sheet =
      PropertySheet("Control", nullptr).Add("Name", &Control::Name).Add("Index", &Control::Index);
  return sheet;
}

void RuntimeAddEventHandler(const Ref<Control>& control, int eventNumber, const Ref<Delegate>& handler) {
  CheckUIThread("RuntimeAddEventHandler");
  if (!handler) throw NilObjectException("RuntimeAddEventHandler was given no delegate");
  const std::string expected = control->EventSignature(eventNumber);
  if (expected.empty()) {
    throw RuntimeException(control->ClassName() + " has no event number " + std::to_string(eventNumber));
  }
  if (handler->Signature() != expected) {
    throw RuntimeException("event " + std::to_string(eventNumber) + " of " + control->ClassName() + " takes " +
                           expected + ", not " + handler->Signature());
  }
  control->SetEventHandler(eventNumber, handler);
}

// ---- RectControl ----------------------------------------------------------

void RectControl::Constructor() {
  CheckUIThread("RectControl.Constructor");
  auto window = Window();
  if (!window) throw NilObjectException("a control was made without a window");
  if (!window->Peer()) return;  // a model-only window has model-only controls
  CreateWidget();
  ApplyFont();
  ApplyLook();
  ApplyGeometry();
  peer_->SetVisible(true);
}

namespace {
// The keys every visual control takes; each kind adds its own.
PropertySheet RectSheet(const char* className) {
  PropertySheet s(className, nullptr);
  s.Add("Name", &Control::Name)
      .Add("Index", &Control::Index)
      .Add("Left", &RectControl::Left)
      .Add("Top", &RectControl::Top)
      .Add("Width", &RectControl::Width)
      .Add("Height", &RectControl::Height)
      .Add("TabIndex", &RectControl::TabIndex)
      .Add("TabStop", &RectControl::TabStop)
      .Add("Enabled", &RectControl::Enabled)
      .Add("Tooltip", &RectControl::Tooltip)
      .Add("Visible", &RectControl::Visible)
      .Add("InitialParent", &RectControl::InitialParent)
      .Add("Transparent", &RectControl::Transparent)
      // Resizing anchors and panels: windows here keep their size.
      .Keep<bool>("LockLeft")
      .Keep<bool>("LockTop")
      .Keep<bool>("LockRight")
      .Keep<bool>("LockBottom")
      .Keep<std::int64_t>("TabPanelIndex")
      .Keep<bool>("AllowAutoDeactivate");
  return s;
}

void AddFontKeys(PropertySheet& s) {
  s.Add("FontName", &RectControl::FontName)
      .Add("FontSize", &RectControl::FontSize)
      .Add("Bold", &RectControl::Bold)
      .Add("Italic", &RectControl::Italic)
      .Add("Underline", &RectControl::Underline)
      .Add("TextColor", &RectControl::TextColor)
      .Add("TextAlignment", &RectControl::TextAlignment)
      .Keep<EnumByte>("FontUnit")
      .Keep<String>("DataSource")
      .Keep<String>("DataField");
}

// The peer of a control's window; CreateWidget runs only when it has one.
detail::WindowPeer& WindowPeerOf(const Ref<fw::Window>& window) { return *window->Peer(); }
}  // namespace

const PropertySheet& RectControl::Sheet() const {
  static const PropertySheet sheet = RectSheet("RectControl");
  return sheet;
}

void RectControl::SetFocus() {
  CheckUIThread("RectControl.SetFocus");
  if (peer_) peer_->SetFocus();
}

bool RectControl::HasFocus() const { return peer_ && peer_->HasFocus(); }

void RectControl::Visible(bool v) {
  CheckUIThread("RectControl.Visible");
  visible_ = v;
  if (peer_) peer_->SetVisible(v);
}

void RectControl::Enabled(bool v) {
  CheckUIThread("RectControl.Enabled");
  enabled_ = v;
  if (peer_) {
    peer_->SetEnabled(v);
    ApplyLook();
  }
}

void RectControl::Left(std::int64_t v) {
  left_ = v;
  ApplyGeometry();
}
void RectControl::Top(std::int64_t v) {
  top_ = v;
  ApplyGeometry();
}
void RectControl::Width(std::int64_t v) {
  width_ = v;
  ApplyGeometry();
}
void RectControl::Height(std::int64_t v) {
  height_ = v;
  ApplyGeometry();
}
void RectControl::TabIndex(std::int64_t v) { tabIndex_ = v; }
void RectControl::TabStop(bool v) {
  tabStop_ = v;
  ApplyLook();
}
void RectControl::Tooltip(const String& v) {
  tooltip_ = v;
  if (peer_) peer_->SetTooltip(v);
}
void RectControl::Transparent(bool v) { transparent_ = v; }

void RectControl::InitialParent(const String& v) {
  initialParent_ = v;
  auto window = Window();
  if (!peer_ || !window) return;
  detail::ControlPeer* container = nullptr;
  if (!v.empty()) {
    auto found = Cast<RectControl>(window->_ControlByName(v));
    if (!found || !found->Peer()) {
      throw RuntimeException(Name() + ": InitialParent names " + v + ", which " + window->ClassName() + " lacks");
    }
    container = found->Peer();
  }
  peer_->SetParent(container, visible_);
  ApplyGeometry();
}

// A control inside another is placed in window coordinates; its widget
// sits in its container's.
void RectControl::ApplyGeometry() {
  if (!peer_) return;
  std::int64_t x = left_, y = top_;
  if (!initialParent_.empty()) {
    if (auto window = Window()) {
      if (auto container = Cast<RectControl>(window->_ControlByName(initialParent_))) {
        x -= container->Left();
        y -= container->Top();
      }
    }
  }
  peer_->SetGeometry(x, y, width_, height_);
}

void RectControl::FontName(const String& v) {
  fontName_ = v;
  ApplyFont();
}
void RectControl::FontSize(float v) {
  fontSize_ = v;
  ApplyFont();
}
void RectControl::Bold(bool v) {
  bold_ = v;
  ApplyFont();
}
void RectControl::Italic(bool v) {
  italic_ = v;
  ApplyFont();
}
void RectControl::Underline(bool v) {
  underline_ = v;
  ApplyFont();
}
void RectControl::TextColor(Color v) {
  textColor_ = v;
  ApplyLook();
}
void RectControl::TextAlignment(std::int64_t v) {
  textAlignment_ = v;
  ApplyLook();
}

void RectControl::ApplyFont() {
  if (peer_) peer_->SetFont({fontName_, fontSize_, bold_, italic_, underline_});
}

void RectControl::ApplyLook() {
  if (peer_) peer_->ApplyLook();
}

bool RectControl::CanTakeFocus() const { return peer_ && peer_->TakesTabFocus() && enabled_ && visible_; }

// ---- Label ---------------------------------------------------------------

const PropertySheet& Label::Sheet() const {
  static const PropertySheet sheet = [] {
    PropertySheet s = RectSheet("Label");
    AddFontKeys(s);
    s.Add("Value", &Label::Value).Add("Multiline", &Label::Multiline).Keep<bool>("Selectable");
    return s;
  }();
  return sheet;
}

void Label::CreateWidget() { peer_ = detail::InstalledToolkit()->MakeLabel(*this, WindowPeerOf(Window())); }

void Label::Value(const String& v) {
  CheckUIThread("Label.Value");
  value_ = v;
  if (peer_) peer_->SetText(v);
}

void Label::Multiline(bool v) {
  multiline_ = v;
  ApplyLook();
}

// ---- TextArea --------------------------------------------------------------

const PropertySheet& TextArea::Sheet() const {
  static const PropertySheet sheet = [] {
    PropertySheet s = RectSheet("TextArea");
    AddFontKeys(s);
    s.Add("Value", &TextArea::Value)
        .Add("Multiline", &TextArea::Multiline)
        .Add("ReadOnly", &TextArea::ReadOnly)
        .Add("AllowTabs", &TextArea::AllowTabs)
        .Add("AllowStyledText", &TextArea::AllowStyledText)
        .Add("HasBorder", &TextArea::HasBorder)
        .Add("HasHorizontalScrollbar", &TextArea::HasHorizontalScrollbar)
        .Add("HasVerticalScrollbar", &TextArea::HasVerticalScrollbar)
        .Add("BackgroundColor", &TextArea::BackgroundColor)
        .Add("MaximumCharactersAllowed", &TextArea::MaximumCharactersAllowed)
        .Add("ValidationMask", &TextArea::ValidationMask)
        .Add("HideSelection", &TextArea::HideSelection)
        .Keep<String>("Format")
        .Keep<double>("LineHeight")
        .Keep<double>("LineSpacing")
        .Keep<bool>("AllowFocusRing")
        .Keep<bool>("AllowSpellChecking");
    return s;
  }();
  return sheet;
}

void TextArea::CreateWidget() { peer_ = detail::InstalledToolkit()->MakeTextArea(*this, WindowPeerOf(Window())); }

String TextArea::Value() const {
  CheckUIThread("TextArea.Value");
  return peer_ ? peer_->Text() : value_;
}

void TextArea::Value(const String& v) {
  CheckUIThread("TextArea.Value");
  if (peer_) {
    peer_->SetText(v);
  } else {
    value_ = v;
  }
}

std::int64_t TextArea::SelectionStart() const {
  CheckUIThread("TextArea.SelectionStart");
  return peer_ ? peer_->SelectionStart() : selectionStart_;
}

void TextArea::SelectionStart(std::int64_t v) {
  CheckUIThread("TextArea.SelectionStart");
  selectionStart_ = std::max<std::int64_t>(v, 0);
  selectionLength_ = 0;
  if (peer_) peer_->Select(selectionStart_, 0);
}

std::int64_t TextArea::SelectionLength() const {
  CheckUIThread("TextArea.SelectionLength");
  return peer_ ? peer_->SelectionLength() : selectionLength_;
}

void TextArea::SelectionLength(std::int64_t v) {
  CheckUIThread("TextArea.SelectionLength");
  selectionLength_ = std::max<std::int64_t>(v, 0);
  if (peer_) peer_->Select(peer_->SelectionStart(), selectionLength_);
}

bool TextArea::SelectionBold() const {
  CheckUIThread("TextArea.SelectionBold");
  return peer_ ? peer_->SelectionBold() : selectionBold_;
}

void TextArea::SelectionBold(bool v) {
  CheckUIThread("TextArea.SelectionBold");
  // A plain area has one style for all of its text.
  if (!allowStyled_) return;
  selectionBold_ = v;
  if (peer_) peer_->SetSelectionBold(v);
}

namespace {
// Characters, not bytes, count against a text area's limit; 0 is no limit.
std::int64_t RoomLeft(std::int64_t maximum, const String& text) {
  if (maximum <= 0) return std::numeric_limits<std::int64_t>::max();
  return maximum - detail::CharacterCount(text);
}
}  // namespace

bool TextArea::Accepts(const String& text) const {
  if (RoomLeft(maxChars_, text) < 0) return false;
  if (mask_.empty()) return true;
  const auto codePoints = detail::Characters(text);
  const auto maskPoints = detail::Characters(mask_);
  if (codePoints.size() > maskPoints.size()) return false;
  for (std::size_t i = 0; i < codePoints.size(); ++i) {
    const char32_t m = maskPoints[i], c = codePoints[i];
    if (m == U'#' ? !(c >= U'0' && c <= U'9') : c != m) return false;
  }
  return true;
}

void TextArea::Multiline(bool v) {
  multiline_ = v;
  ApplyLook();
}
void TextArea::ReadOnly(bool v) {
  readOnly_ = v;
  ApplyLook();
}
void TextArea::AllowTabs(bool v) {
  allowTabs_ = v;
  ApplyLook();
}
void TextArea::AllowStyledText(bool v) {
  allowStyled_ = v;
  ApplyLook();
}
void TextArea::HasBorder(bool v) {
  hasBorder_ = v;
  ApplyLook();
}
void TextArea::HasHorizontalScrollbar(bool v) {
  hScroll_ = v;
  ApplyLook();
}
void TextArea::HasVerticalScrollbar(bool v) {
  vScroll_ = v;
  ApplyLook();
}
void TextArea::BackgroundColor(Color v) {
  background_ = v;
  ApplyLook();
}
void TextArea::HideSelection(bool v) {
  hideSelection_ = v;
  ApplyLook();
}
void TextArea::MaximumCharactersAllowed(std::int64_t v) { maxChars_ = v; }
void TextArea::ValidationMask(const String& v) { mask_ = v; }

std::string TextArea::EventSignature(int eventNumber) const {
  return eventNumber == kKeyDown ? kTextAreaKeyDownSignature : std::string();
}

// ---- PushButton ------------------------------------------------------------

const PropertySheet& PushButton::Sheet() const {
  static const PropertySheet sheet = [] {
    PropertySheet s = RectSheet("PushButton");
    AddFontKeys(s);
    s.Add("Caption", &PushButton::Caption)
        .Add("Default", &PushButton::Default)
        .Add("Cancel", &PushButton::Cancel)
        .Keep<std::int64_t>("MacButtonStyle");
    return s;
  }();
  return sheet;
}

void PushButton::CreateWidget() { peer_ = detail::InstalledToolkit()->MakePushButton(*this, WindowPeerOf(Window())); }

void PushButton::Caption(const String& v) {
  caption_ = v;
  if (peer_) peer_->SetText(v);
}

void PushButton::Push() {
  CheckUIThread("PushButton.Push");
  if (peer_) {
    peer_->Click();
  } else {
    detail::ButtonAction(*this);
  }
}

std::string PushButton::EventSignature(int eventNumber) const {
  switch (eventNumber) {
    case kAction: return kPushButtonActionSignature;
    case kMouseDown: return kPushButtonMouseDownSignature;
    default: return {};
  }
}

// ---- Canvas ------------------------------------------------------------------

const PropertySheet& Canvas::Sheet() const {
  static const PropertySheet sheet = [] {
    PropertySheet s = RectSheet("Canvas");
    s.Add("AllowFocus", &Canvas::AllowFocus)
        .Keep<bool>("AllowFocusRing")
        .Keep<bool>("AllowTabs")
        .Keep<bool>("DoubleBuffer");
    return s;
  }();
  return sheet;
}

void Canvas::CreateWidget() { peer_ = detail::InstalledToolkit()->MakeCanvas(*this, WindowPeerOf(Window())); }

void Canvas::Backdrop(const Ref<Picture>& picture) {
  CheckUIThread("Canvas.Backdrop");
  backdrop_ = picture;
  if (peer_) peer_->Repaint();
}

// ---- RoundRectangle ------------------------------------------------------------

const PropertySheet& RoundRectangle::Sheet() const {
  static const PropertySheet sheet = [] {
    PropertySheet s = RectSheet("RoundRectangle");
    s.Add("FillColor", &RoundRectangle::FillColor)
        .Add("BorderColor", &RoundRectangle::BorderColor)
        .Add("BorderThickness", &RoundRectangle::BorderThickness)
        .Add("CornerWidth", &RoundRectangle::CornerWidth)
        .Add("CornerHeight", &RoundRectangle::CornerHeight);
    return s;
  }();
  return sheet;
}

void RoundRectangle::CreateWidget() {
  peer_ = detail::InstalledToolkit()->MakeRoundRectangle(*this, WindowPeerOf(Window()));
}

void RoundRectangle::FillColor(Color v) {
  fill_ = v;
  if (peer_) peer_->Repaint();
}
void RoundRectangle::BorderColor(Color v) {
  border_ = v;
  if (peer_) peer_->Repaint();
}
void RoundRectangle::BorderThickness(double v) {
  thickness_ = v;
  if (peer_) peer_->Repaint();
}
void RoundRectangle::CornerWidth(double v) {
  cornerWidth_ = v;
  if (peer_) peer_->Repaint();
}
void RoundRectangle::CornerHeight(double v) {
  cornerHeight_ = v;
  if (peer_) peer_->Repaint();
}

// ---- Input from the user --------------------------------------------------------

namespace detail {

KeyResult TextAreaKeyDown(TextArea& area, const String& key, const String& typed, bool typedInserts,
                          const std::function<TextEdit()>& edit) {
  bool refused = false;
  if (auto handler = area.EventHandler(kKeyDown)) {
    auto self = Self(&area);
    RuntimeCallProgram([&] { refused = handler->Invoke<bool, Ref<TextArea>, String>(self, key); });
  }
  if (refused) return KeyResult::kTaken;
  if (key == "\r") {
    if (area.Multiline() && area.Accepts(edit().With("\n"))) return KeyResult::kEditor;
    // A one-line area takes no Return: the window's default button may.
    auto window = area.Window();
    if (window && ReturnPressesDefaultButton(*window, key)) return KeyResult::kTaken;
    return KeyResult::kWindow;
  }
  if (typedInserts && !area.ReadOnly() && !area.Accepts(edit().With(typed))) {
    return KeyResult::kTaken;  // over the limit or off the mask
  }
  return KeyResult::kEditor;
}

String TextAreaInsertion(const TextArea& area, String text, const TextEdit& edit) {
  if (area.ReadOnly()) return {};
  if (!area.Multiline()) std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
  const std::int64_t room = RoomLeft(area.MaximumCharactersAllowed(), edit.before + edit.after);
  if (room <= 0) return {};
  String kept = FirstCharacters(text, room);
  if (kept.empty() || !area.Accepts(edit.With(kept))) return {};
  return kept;
}

void ButtonAction(PushButton& button) {
  if (auto handler = button.EventHandler(kAction)) {
    auto self = Self(&button);
    RuntimeCallProgram([&] { handler->Invoke<void, Ref<PushButton>>(self); });
  }
}

bool ButtonMouseDown(PushButton& button, std::int64_t x, std::int64_t y) {
  bool claimed = false;
  if (auto handler = button.EventHandler(kMouseDown)) {
    auto self = Self(&button);
    RuntimeCallProgram(
        [&] { claimed = handler->Invoke<bool, Ref<PushButton>, std::int64_t, std::int64_t>(self, x, y); });
  }
  return claimed;
}

}  // namespace detail
}  // namespace fw
