// Text areas on Qt: a QTextEdit whose keys, pastes, drops and input-method
// commits all go through the model's rules (framework/Controls.cpp).
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextEdit>

#include "framework/qt/Convert.h"
#include "framework/qt/Peers.h"

namespace fw::detail {
namespace {

// A text area's editor: its KeyDown handler sees every key first, and its
// limit and mask hold for typing, paste, drop and input methods alike. It
// decides none of that itself; it asks the model.
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
    if (!area || !source->hasText()) return;
    const String kept = TextAreaInsertion(*area, FromQ(source->text()), Edit());
    if (!kept.empty()) textCursor().insertText(Q(kept));
  }

  void inputMethodEvent(QInputMethodEvent* e) override {
    auto area = Area();
    if (area && !e->commitString().isEmpty() && !area->Accepts(Edit().With(FromQ(e->commitString())))) {
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

  // The text around the selection.
  TextEdit Edit() const {
    const QString text = toPlainText();
    const QTextCursor c = textCursor();
    const auto start = c.selectionStart(), end = c.selectionEnd();
    return {FromQ(text.left(start)), FromQ(text.mid(start, end - start)), FromQ(text.mid(end))};
  }

  // Returns true when the key was dealt with here.
  bool HandleKey(QKeyEvent* e) {
    auto area = Area();
    const std::string key = KeyText(e);
    if (!area || key.empty()) return false;
    const QString typed = e->text();
    const bool inserts =
        !typed.isEmpty() && typed.at(0).isPrint() && !(e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    switch (TextAreaKeyDown(*area, key, FromQ(typed), inserts, [this] { return Edit(); })) {
      case KeyResult::kTaken: return true;
      case KeyResult::kEditor: return false;
      case KeyResult::kWindow: e->ignore(); return false;
    }
    return false;
  }

  std::weak_ptr<Control> owner_;
};

// Mirrors the area's text and look to the editor; keeps no text of its own.
class TextAreaPeer : public QtControlPeer {
 public:
  TextAreaPeer(TextArea& owner, QTextEdit* editor, WindowPeer& window) : QtControlPeer(editor, window), owner_(owner) {}

  void SetText(const String& text) override {
    if (auto* editor = Editor()) {
      editor->setPlainText(Q(text));
      editor->moveCursor(QTextCursor::End);
    }
  }
  String Text() const override {
    auto* editor = Editor();
    return editor ? FromQ(editor->toPlainText()) : String();
  }

  void ApplyLook() override {
    auto* editor = Editor();
    if (!editor) return;
    editor->setReadOnly(owner_.ReadOnly());
    editor->setTabChangesFocus(!owner_.AllowTabs());
    editor->setAcceptRichText(owner_.AllowStyledText());
    editor->setLineWrapMode(owner_.Multiline() ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    editor->setHorizontalScrollBarPolicy(owner_.HasHorizontalScrollbar() ? Qt::ScrollBarAsNeeded
                                                                         : Qt::ScrollBarAlwaysOff);
    editor->setVerticalScrollBarPolicy(owner_.HasVerticalScrollbar() ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    editor->setFrameStyle(owner_.HasBorder() ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    editor->setFocusPolicy(owner_.TabStop() ? Qt::StrongFocus : Qt::ClickFocus);
    QTextOption option = editor->document()->defaultTextOption();
    option.setAlignment(HorizontalAlignment(owner_.TextAlignment()));
    editor->document()->setDefaultTextOption(option);
    QPalette palette = editor->palette();
    palette.setColor(QPalette::Base, ToQColor(owner_.BackgroundColor()));
    palette.setColor(QPalette::Text, ToQColor(owner_.TextColor()));
    editor->setPalette(palette);
  }

 private:
  QTextEdit* Editor() const { return static_cast<QTextEdit*>(widget.data()); }
  TextArea& owner_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeTextAreaPeer(TextArea& owner, WindowPeer& window) {
  auto* editor = new TextAreaWidget(std::weak_ptr<Control>(Self<Control>(&owner).shared()),
                                    static_cast<QtWindowPeer&>(window).widget->Content());
  return std::make_unique<TextAreaPeer>(owner, editor, window);
}

}  // namespace fw::detail
