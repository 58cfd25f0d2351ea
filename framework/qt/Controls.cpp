#include "framework/Controls.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>

#include "framework/Run.h"
#include "framework/Window.h"
#include "framework/qt/Accessible.h"
#include "framework/qt/Peers.h"

namespace fw {
namespace {

QColor ToQColor(Color c) { return QColor(c.red, c.green, c.blue, 255 - c.alpha); }
QString Q(const String& s) { return QString::fromStdString(s); }

Qt::Alignment HorizontalAlignment(std::int64_t textAlignment) {
  switch (textAlignment) {
    case 2: return Qt::AlignHCenter;
    case 3: return Qt::AlignRight;
    default: return Qt::AlignLeft;
  }
}

// Characters, not bytes, count against a text area's limit.
std::int64_t CharacterCount(const QString& text) { return static_cast<std::int64_t>(text.toUcs4().size()); }

class LabelWidget : public QLabel {
 public:
  using QLabel::QLabel;
};

class CanvasWidget : public QWidget {
 public:
  CanvasWidget(std::weak_ptr<Control> owner, QWidget* parent) : QWidget(parent), owner_(std::move(owner)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    auto owner = std::static_pointer_cast<Canvas>(owner_.lock());
    if (owner && owner->Backdrop()) QPainter(this).drawImage(QPoint(0, 0), owner->Backdrop()->Data().image);
  }

 private:
  std::weak_ptr<Control> owner_;
};

class RoundRectWidget : public QWidget {
 public:
  RoundRectWidget(std::weak_ptr<Control> owner, QWidget* parent) : QWidget(parent), owner_(std::move(owner)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    auto box = std::static_pointer_cast<RoundRectangle>(owner_.lock());
    if (!box) return;
    RoundRectangle* owner = box.get();
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double t = owner->BorderThickness();
    p.setPen(t > 0 ? QPen(ToQColor(owner->BorderColor()), t) : Qt::NoPen);
    p.setBrush(ToQColor(owner->FillColor()));
    const QRectF r = QRectF(rect()).adjusted(t / 2, t / 2, -t / 2, -t / 2);
    p.drawRoundedRect(r, owner->CornerWidth() / 2, owner->CornerHeight() / 2);
  }

 private:
  std::weak_ptr<Control> owner_;
};

class ButtonWidget : public QPushButton {
 public:
  ButtonWidget(std::weak_ptr<Control> owner, QWidget* parent) : QPushButton(parent), owner_(std::move(owner)) {
    connect(this, &QPushButton::clicked, this, [this] {
      auto owner = owner_.lock();
      if (!owner) return;
      if (auto handler = owner->EventHandler(kAction)) {
        auto button = Cast<PushButton>(Ref<Control>(owner));
        RuntimeCallProgram([&] { handler->Invoke<void, Ref<PushButton>>(button); });
      }
    });
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    auto owner = owner_.lock();
    bool claimed = false;
    if (owner) {
      if (auto handler = owner->EventHandler(kMouseDown)) {
        auto button = Cast<PushButton>(Ref<Control>(owner));
        const QPoint p = e->position().toPoint();
        RuntimeCallProgram([&] {
          claimed = handler->Invoke<bool, Ref<PushButton>, std::int64_t, std::int64_t>(button, p.x(), p.y());
        });
      }
    }
    if (!claimed) QPushButton::mousePressEvent(e);
  }

 private:
  std::weak_ptr<Control> owner_;
};

// A text area's editor: its KeyDown handler sees every key first, and its
// limit and mask hold for typing, paste, drop and input methods alike.
class TextAreaWidget : public QTextEdit {
 public:
  TextAreaWidget(std::weak_ptr<Control> owner, QWidget* parent) : QTextEdit(parent), owner_(std::move(owner)) {
    document()->setDocumentMargin(1);
  }

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent*>(e))) return true;
    return QTextEdit::event(e);
  }

  bool canInsertFromMimeData(const QMimeData* source) const override { return source->hasText(); }

  void insertFromMimeData(const QMimeData* source) override {
    auto area = Area();
    if (!area || !source->hasText() || area->ReadOnly()) return;
    QString text = source->text();
    if (!area->Multiline()) text.remove(QChar('\r')).remove(QChar('\n'));
    // Take what fits the limit; refuse it all if its characters do not fit
    // the mask.
    const QString kept = Remaining(text);
    if (kept.isEmpty() || !area->Accepts(WithInsertion(kept).toStdString())) return;
    textCursor().insertText(kept);
  }

  void inputMethodEvent(QInputMethodEvent* e) override {
    auto area = Area();
    if (area && !e->commitString().isEmpty() && !area->Accepts(WithInsertion(e->commitString()).toStdString())) {
      QInputMethodEvent refused(e->preeditString(), e->attributes());
      return QTextEdit::inputMethodEvent(&refused);
    }
    QTextEdit::inputMethodEvent(e);
  }

 private:
  Ref<TextArea> Area() const {
    auto owner = owner_.lock();
    return owner ? Cast<TextArea>(Ref<Control>(owner)) : Ref<TextArea>();
  }

  // The text as it would be with the selection replaced by `inserted`.
  QString WithInsertion(const QString& inserted) const {
    QString text = toPlainText();
    const QTextCursor c = textCursor();
    text.replace(c.selectionStart(), c.selectionEnd() - c.selectionStart(), inserted);
    return text;
  }

  // The longest start of `inserted` that the character limit leaves room for.
  QString Remaining(const QString& inserted) const {
    auto area = Area();
    if (!area || area->MaximumCharactersAllowed() <= 0) return inserted;
    const QTextCursor c = textCursor();
    const auto room = area->MaximumCharactersAllowed() - CharacterCount(toPlainText()) +
                      CharacterCount(c.selectedText());
    if (room <= 0) return {};
    const auto codePoints = inserted.toUcs4();
    if (static_cast<std::int64_t>(codePoints.size()) <= room) return inserted;
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.constData()), static_cast<qsizetype>(room));
  }

  // Returns true when the key was dealt with here.
  bool HandleKey(QKeyEvent* e) {
    auto area = Area();
    const std::string key = detail::KeyText(e);
    if (!area || key.empty()) return false;
    bool refused = false;
    if (auto handler = area->EventHandler(kKeyDown)) {
      RuntimeCallProgram([&] { refused = handler->Invoke<bool, Ref<TextArea>, String>(area, key); });
    }
    if (refused) return true;
    if (key == "\r") {
      if (area->Multiline() && area->Accepts(WithInsertion("\n").toStdString())) return false;
      auto window = area->Window();
      if (window && window->PressDefaultButton()) return true;
      e->ignore();  // a one-line area takes no Return: the window may
      return false;
    }
    const QString typed = e->text();
    const bool inserts = !typed.isEmpty() && typed.at(0).isPrint() &&
                         !(e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (inserts && !area->ReadOnly()) {
      if (!area->Accepts(WithInsertion(typed).toStdString())) return true;  // over the limit or off the mask
    }
    return false;
  }

  std::weak_ptr<Control> owner_;
};

// The platform's fonts for the three generic names. Where the Liberation
// fonts are installed they are preferred: they have the metrics the
// layouts were drawn with, so captions fit their labels.
QFont FontFor(const String& name, float size, bool bold, bool italic, bool underline) {
  auto preferred = [](const char* family, QFont fallback) {
    return QFontDatabase::families().contains(QString::fromLatin1(family)) ? QFont(QString::fromLatin1(family))
                                                                           : fallback;
  };
  QFont font;
  if (name == "System") {
    font = preferred("Liberation Sans", QApplication::font());
  } else if (name == "Courier") {
    font = preferred("Liberation Mono", QFontDatabase::systemFont(QFontDatabase::FixedFont));
  } else if (name == "Times") {
    QFont serif("Times");
    serif.setStyleHint(QFont::Serif);
    font = preferred("Liberation Serif", serif);
  } else {
    font = QFont(Q(name));
  }
  // Layout units are 1/72 inch, so a point is one unit.
  if (size > 0) font.setPixelSize(std::max(1, static_cast<int>(size + 0.5f)));
  font.setBold(bold);
  font.setItalic(italic);
  font.setUnderline(underline);
  return font;
}

}  // namespace

// ---- Control -------------------------------------------------------------

Control::Control() : peer_(std::make_unique<detail::ControlPeer>()) {}

Control::~Control() {
  // The widget lives inside its window's widget; it goes with the control,
  // later, so that no event handler ever runs on a deleted widget.
  if (peer_->widget) {
    peer_->widget->hide();
    peer_->widget->deleteLater();
  }
  if (peer_->timer) peer_->timer->deleteLater();
}

Ref<fw::Window> Control::Window() { return Ref<fw::Window>(window_.lock()); }

void Control::_SetWindow(const Ref<fw::Window>& window) { window_ = window.shared(); }

void Control::AttachTo(fw::Window* window) { _SetWindow(Self(window)); }

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
  if (!window || !window->Peer()->widget) throw NilObjectException("a control was made without a window");
  CreateWidget();
  detail::RegisterAccessible(Self<Control>(this), peer_->widget);
  peer_->widget->setAutoFillBackground(false);
  ApplyFont();
  ApplyLook();
  ApplyGeometry();
  peer_->widget->show();
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
}  // namespace

const PropertySheet& RectControl::Sheet() const {
  static const PropertySheet sheet = RectSheet("RectControl");
  return sheet;
}

void RectControl::SetFocus() {
  CheckUIThread("RectControl.SetFocus");
  if (peer_->widget) peer_->widget->setFocus(Qt::OtherFocusReason);
}

bool RectControl::HasFocus() const { return peer_->widget && peer_->widget->hasFocus(); }

void RectControl::Visible(bool v) {
  CheckUIThread("RectControl.Visible");
  visible_ = v;
  if (peer_->widget) peer_->widget->setVisible(v);
}

void RectControl::Enabled(bool v) {
  CheckUIThread("RectControl.Enabled");
  enabled_ = v;
  if (peer_->widget) peer_->widget->setEnabled(v), ApplyLook();
}

void RectControl::Left(std::int64_t v) { left_ = v, ApplyGeometry(); }
void RectControl::Top(std::int64_t v) { top_ = v, ApplyGeometry(); }
void RectControl::Width(std::int64_t v) { width_ = v, ApplyGeometry(); }
void RectControl::Height(std::int64_t v) { height_ = v, ApplyGeometry(); }
void RectControl::TabIndex(std::int64_t v) { tabIndex_ = v; }
void RectControl::TabStop(bool v) { tabStop_ = v, ApplyLook(); }
void RectControl::Tooltip(const String& v) {
  tooltip_ = v;
  if (peer_->widget) peer_->widget->setToolTip(Q(v));
}
void RectControl::Transparent(bool v) { transparent_ = v; }

void RectControl::InitialParent(const String& v) {
  initialParent_ = v;
  auto window = Window();
  if (!peer_->widget || !window) return;
  QWidget* parent = window->Peer()->widget->Content();
  if (!v.empty()) {
    auto container = Cast<RectControl>(window->_ControlByName(v));
    if (!container || !container->Peer()->widget) {
      throw RuntimeException(Name() + ": InitialParent names " + v + ", which " + window->ClassName() + " lacks");
    }
    parent = container->Peer()->widget;
  }
  if (peer_->widget->parentWidget() != parent) {
    peer_->widget->setParent(parent);
    peer_->widget->setVisible(visible_);
  }
  ApplyGeometry();
}

void RectControl::ApplyGeometry() {
  auto* w = peer_->widget.data();
  if (!w) return;
  std::int64_t x = left_, y = top_;
  if (!initialParent_.empty()) {
    if (auto window = Window()) {
      if (auto container = Cast<RectControl>(window->_ControlByName(initialParent_))) {
        x -= container->Left(), y -= container->Top();
      }
    }
  }
  w->setGeometry(static_cast<int>(x), static_cast<int>(y), static_cast<int>(width_), static_cast<int>(height_));
}

void RectControl::FontName(const String& v) { fontName_ = v, ApplyFont(); }
void RectControl::FontSize(float v) { fontSize_ = v, ApplyFont(); }
void RectControl::Bold(bool v) { bold_ = v, ApplyFont(); }
void RectControl::Italic(bool v) { italic_ = v, ApplyFont(); }
void RectControl::Underline(bool v) { underline_ = v, ApplyFont(); }
void RectControl::TextColor(Color v) { textColor_ = v, ApplyLook(); }
void RectControl::TextAlignment(std::int64_t v) { textAlignment_ = v, ApplyLook(); }

void RectControl::ApplyFont() {
  if (peer_->widget) peer_->widget->setFont(FontFor(fontName_, fontSize_, bold_, italic_, underline_));
}

bool RectControl::CanTakeFocus() const {
  return peer_->widget && peer_->widget->focusPolicy() & Qt::TabFocus && enabled_ && visible_;
}

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

void Label::CreateWidget() {
  auto* label = new LabelWidget(Window()->Peer()->widget->Content());
  // Presses go through a label to the window.
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  label->setFocusPolicy(Qt::NoFocus);
  peer_->widget = label;
}

void Label::Value(const String& v) {
  CheckUIThread("Label.Value");
  value_ = v;
  if (auto* label = static_cast<QLabel*>(peer_->widget.data())) label->setText(Q(v));
}

void Label::Multiline(bool v) { multiline_ = v, ApplyLook(); }

void Label::ApplyLook() {
  auto* label = static_cast<QLabel*>(peer_->widget.data());
  if (!label) return;
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(multiline_);
  label->setAlignment(HorizontalAlignment(textAlignment_) | Qt::AlignTop);
  QPalette palette = label->palette();
  // The label's own colour, enabled or not.
  palette.setColor(QPalette::Active, QPalette::WindowText, ToQColor(textColor_));
  palette.setColor(QPalette::Inactive, QPalette::WindowText, ToQColor(textColor_));
  palette.setColor(QPalette::Disabled, QPalette::WindowText, ToQColor(textColor_));
  label->setPalette(palette);
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
        .Keep<String>("Format")
        .Keep<bool>("HideSelection")
        .Keep<double>("LineHeight")
        .Keep<double>("LineSpacing")
        .Keep<bool>("AllowFocusRing")
        .Keep<bool>("AllowSpellChecking");
    return s;
  }();
  return sheet;
}

void TextArea::CreateWidget() {
  auto* editor = new TextAreaWidget(std::weak_ptr<Control>(Self<Control>(this).shared()),
                                    Window()->Peer()->widget->Content());
  peer_->widget = editor;
}

String TextArea::Value() const {
  CheckUIThread("TextArea.Value");
  auto* editor = static_cast<QTextEdit*>(peer_->widget.data());
  return editor ? editor->toPlainText().toStdString() : String();
}

void TextArea::Value(const String& v) {
  CheckUIThread("TextArea.Value");
  if (auto* editor = static_cast<QTextEdit*>(peer_->widget.data())) {
    editor->setPlainText(Q(v));
    editor->moveCursor(QTextCursor::End);
  }
}

bool TextArea::Accepts(const String& text) const {
  const QString q = Q(text);
  const auto codePoints = q.toUcs4();
  if (maxChars_ > 0 && static_cast<std::int64_t>(codePoints.size()) > maxChars_) return false;
  if (mask_.empty()) return true;
  const auto maskPoints = Q(mask_).toUcs4();
  if (codePoints.size() > maskPoints.size()) return false;
  for (qsizetype i = 0; i < codePoints.size(); ++i) {
    const char32_t m = maskPoints[i], c = codePoints[i];
    if (m == U'#' ? !(c >= U'0' && c <= U'9') : c != m) return false;
  }
  return true;
}

void TextArea::Multiline(bool v) { multiline_ = v, ApplyLook(); }
void TextArea::ReadOnly(bool v) { readOnly_ = v, ApplyLook(); }
void TextArea::AllowTabs(bool v) { allowTabs_ = v, ApplyLook(); }
void TextArea::AllowStyledText(bool v) { allowStyled_ = v, ApplyLook(); }
void TextArea::HasBorder(bool v) { hasBorder_ = v, ApplyLook(); }
void TextArea::HasHorizontalScrollbar(bool v) { hScroll_ = v, ApplyLook(); }
void TextArea::HasVerticalScrollbar(bool v) { vScroll_ = v, ApplyLook(); }
void TextArea::BackgroundColor(Color v) { background_ = v, ApplyLook(); }
void TextArea::MaximumCharactersAllowed(std::int64_t v) { maxChars_ = v; }
void TextArea::ValidationMask(const String& v) { mask_ = v; }

std::string TextArea::EventSignature(int eventNumber) const {
  return eventNumber == kKeyDown ? "( TextArea, String ) as Boolean" : std::string();
}

void TextArea::ApplyLook() {
  auto* editor = static_cast<QTextEdit*>(peer_->widget.data());
  if (!editor) return;
  editor->setReadOnly(readOnly_);
  editor->setTabChangesFocus(!allowTabs_);
  editor->setAcceptRichText(allowStyled_);
  editor->setLineWrapMode(multiline_ ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
  editor->setHorizontalScrollBarPolicy(hScroll_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  editor->setVerticalScrollBarPolicy(vScroll_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  editor->setFrameStyle(hasBorder_ ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
  editor->setFocusPolicy(tabStop_ ? Qt::StrongFocus : Qt::ClickFocus);
  QTextOption option = editor->document()->defaultTextOption();
  option.setAlignment(HorizontalAlignment(textAlignment_));
  editor->document()->setDefaultTextOption(option);
  QPalette palette = editor->palette();
  palette.setColor(QPalette::Base, ToQColor(background_));
  palette.setColor(QPalette::Text, ToQColor(textColor_));
  editor->setPalette(palette);
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

void PushButton::CreateWidget() {
  peer_->widget = new ButtonWidget(std::weak_ptr<Control>(Self<Control>(this).shared()),
                                   Window()->Peer()->widget->Content());
}

void PushButton::Caption(const String& v) {
  caption_ = v;
  if (auto* button = static_cast<QPushButton*>(peer_->widget.data())) button->setText(Q(v));
}

void PushButton::Push() {
  CheckUIThread("PushButton.Push");
  if (auto* button = static_cast<QPushButton*>(peer_->widget.data())) button->click();
}

void PushButton::ApplyLook() {
  if (peer_->widget) peer_->widget->setFocusPolicy(tabStop_ ? Qt::StrongFocus : Qt::NoFocus);
}

std::string PushButton::EventSignature(int eventNumber) const {
  switch (eventNumber) {
    case kAction: return "( PushButton )";
    case kMouseDown: return "( PushButton, Integer, Integer ) as Boolean";
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

void Canvas::CreateWidget() {
  auto* canvas = new CanvasWidget(std::weak_ptr<Control>(Self<Control>(this).shared()), Window()->Peer()->widget->Content());
  // The canvas takes no presses of its own here; they reach the window.
  canvas->setAttribute(Qt::WA_TransparentForMouseEvents);
  canvas->setFocusPolicy(Qt::NoFocus);
  peer_->widget = canvas;
}

void Canvas::Backdrop(const Ref<Picture>& picture) {
  CheckUIThread("Canvas.Backdrop");
  backdrop_ = picture;
  if (peer_->widget) peer_->widget->update();
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
  auto* box = new RoundRectWidget(std::weak_ptr<Control>(Self<Control>(this).shared()), Window()->Peer()->widget->Content());
  box->setFocusPolicy(Qt::NoFocus);
  peer_->widget = box;
}

void RoundRectangle::FillColor(Color v) {
  fill_ = v;
  if (peer_->widget) peer_->widget->update();
}
void RoundRectangle::BorderColor(Color v) {
  border_ = v;
  if (peer_->widget) peer_->widget->update();
}
void RoundRectangle::BorderThickness(double v) {
  thickness_ = v;
  if (peer_->widget) peer_->widget->update();
}
void RoundRectangle::CornerWidth(double v) {
  cornerWidth_ = v;
  if (peer_->widget) peer_->widget->update();
}
void RoundRectangle::CornerHeight(double v) {
  cornerHeight_ = v;
  if (peer_->widget) peer_->widget->update();
}

}  // namespace fw
