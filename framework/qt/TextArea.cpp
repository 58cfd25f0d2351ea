// Text areas on Qt: a QTextEdit whose keys, pastes and input-method commits
// all go through the model's rules (framework/Controls.cpp), with its
// selection and bold style counted as the program counts its text. Text is
// never dragged into or out of an area.
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "framework/qt/Convert.h"
#include "framework/qt/Peers.h"

namespace fw::detail {
namespace {

// The program counts characters in its own text, where a line break is CR LF
// (two characters) and a character outside the Basic Multilingual Plane is
// one; the document counts a break as one position and such a character as
// two. These two translate between the counts.

// The document position of the program's character index `index`; an index
// inside a CR LF or past the end goes to the break or the end.
int PositionOf(const QString& plain, std::int64_t index) {
  std::int64_t counted = 0;
  int pos = 0;
  while (pos < plain.size() && counted < index) {
    const QChar c = plain.at(pos);
    const std::int64_t chars = c == QChar('\n') ? 2 : 1;
    const int units = c.isHighSurrogate() && pos + 1 < plain.size() ? 2 : 1;
    if (counted + chars > index) break;  // inside a CR LF
    counted += chars;
    pos += units;
  }
  return pos;
}

// The program's character index of document position `pos`.
std::int64_t IndexOf(const QString& plain, int pos) {
  std::int64_t counted = 0;
  for (int i = 0; i < pos && i < plain.size(); ++i) {
    const QChar c = plain.at(i);
    if (c.isLowSurrogate()) continue;
    counted += c == QChar('\n') ? 2 : 1;
  }
  return counted;
}

// Whether the editor may put the key's text in, so that the text must first
// meet the limit and the mask. It does for any text that starts with no
// control character, whatever the modifiers (Super, Ctrl with Alt, Ctrl
// with a keypad key), and for a format character even with Ctrl; Ctrl or
// Ctrl+Shift with other text is a shortcut and puts nothing in. A tab is
// text when no Tab key brought it, and the Tab key's own in an area that
// takes tabs (elsewhere the key moves the focus).
bool MayInsert(const QKeyEvent& e, const TextArea& area) {
  const QString typed = e.text();
  if (typed.isEmpty()) return false;
  const QChar first = typed.at(0);
  if (first.category() == QChar::Other_Format) return true;
  if (e.modifiers() == Qt::ControlModifier || e.modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) return false;
  if (first == QChar('\t')) return (e.key() != Qt::Key_Tab && e.key() != Qt::Key_Backtab) || area.AllowTabs();
  return first.category() != QChar::Other_Control;
}

// A text area's editor: its KeyDown handler sees every key first, and its
// limit and mask hold for typing, paste and input methods alike. It decides
// none of that itself; it asks the model.
//
// It neither starts a drag nor takes a drop. A drop could only be read like
// a paste, yet the source of a move would still remove its whole selection:
// digits lost. And the drag's own loop takes the button's release, so the
// editor, still holding the press, goes on feeding itself moves from its
// scroll timer and starts one drag after another until a later click on it.
class TextAreaWidget : public QTextEdit {
 public:
  TextAreaWidget(std::weak_ptr<Control> owner, QWidget* parent) : QTextEdit(parent), owner_(std::move(owner)) {
    document()->setDocumentMargin(1);
    setAcceptDrops(false);
    viewport()->setAcceptDrops(false);
  }

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent*>(e))) return true;
    return QTextEdit::event(e);
  }

  // A drag starts only from a press on the selection: the press drops the
  // selection first, and then places the caret or starts a new selection
  // as a press elsewhere does. Shift with the press extends it, as before.
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && e->modifiers() != Qt::ShiftModifier && textCursor().hasSelection()) {
      QTextCursor cursor = textCursor();
      cursor.clearSelection();
      setTextCursor(cursor);
    }
    QTextEdit::mousePressEvent(e);
  }
  void dragEnterEvent(QDragEnterEvent* e) override { e->ignore(); }
  void dragMoveEvent(QDragMoveEvent* e) override { e->ignore(); }
  void dropEvent(QDropEvent* e) override { e->ignore(); }

  bool canInsertFromMimeData(const QMimeData* source) const override { return source->hasText(); }

  void insertFromMimeData(const QMimeData* source) override {
    auto area = Area();
    if (!area || !source->hasText()) return;
    const String kept = TextAreaInsertion(*area, ToStdString(source->text()), Edit());
    if (!kept.empty()) textCursor().insertText(ToQString(kept));
  }

  void inputMethodEvent(QInputMethodEvent* e) override {
    auto area = Area();
    if (area && !e->commitString().isEmpty() && !area->Accepts(Edit().With(ToStdString(e->commitString())))) {
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
    return {ToStdString(text.left(start)), ToStdString(text.mid(start, end - start)), ToStdString(text.mid(end))};
  }

  // Returns true when the key was dealt with here.
  bool HandleKey(QKeyEvent* e) {
    auto area = Area();
    const auto key = KeyText(e);
    if (!area || !key) return false;
    const QString typed = e->text();
    switch (TextAreaKeyDown(*area, *key, ToStdString(typed), MayInsert(*e, *area), [this] { return Edit(); })) {
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
      // New text starts plain: it takes no style from a selection made bold.
      editor->setCurrentCharFormat(QTextCharFormat());
      editor->setPlainText(ToQString(text));
      editor->moveCursor(QTextCursor::End);
    }
  }
  // Each paragraph break of the document is one CR LF of the program's text.
  String Text() const override {
    auto* editor = Editor();
    return editor ? ToStdString(editor->toPlainText().replace(QChar('\n'), QLatin1String("\r\n"))) : String();
  }

  void Select(std::int64_t start, std::int64_t length) override {
    auto* editor = Editor();
    if (!editor) return;
    const QString plain = editor->toPlainText();
    QTextCursor cursor(editor->document());
    cursor.setPosition(PositionOf(plain, start));
    cursor.setPosition(PositionOf(plain, start + length), QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
  }
  std::int64_t SelectionStart() const override {
    auto* editor = Editor();
    return editor ? IndexOf(editor->toPlainText(), editor->textCursor().selectionStart()) : 0;
  }
  std::int64_t SelectionLength() const override {
    auto* editor = Editor();
    if (!editor) return 0;
    const QString plain = editor->toPlainText();
    const QTextCursor cursor = editor->textCursor();
    return IndexOf(plain, cursor.selectionEnd()) - IndexOf(plain, cursor.selectionStart());
  }
  bool SelectionBold() const override {
    auto* editor = Editor();
    if (!editor) return false;
    const QTextCursor selection = editor->textCursor();
    if (!selection.hasSelection()) return selection.charFormat().fontWeight() >= QFont::Bold;
    // The format at position p + 1 is that of the character at p. A line
    // break shows no style, so it counts for neither.
    QTextDocument* document = editor->document();
    QTextCursor probe(document);
    bool any = false;
    for (int p = selection.selectionStart(); p < selection.selectionEnd(); ++p) {
      if (document->characterAt(p) == QChar::ParagraphSeparator) continue;
      probe.setPosition(p + 1);
      if (probe.charFormat().fontWeight() < QFont::Bold) return false;
      any = true;
    }
    return any;
  }
  Ref<StyledTextPrinter> PrintText(const Ref<Graphics>& graphics, std::int64_t width) override {
    auto* editor = Editor();
    if (!editor) throw RuntimeException("the text area " + owner_.Name() + " has no editor to print from");
    return NewDocumentPrinter(graphics, *editor, width);
  }
  void SetSelectionBold(bool bold) override {
    auto* editor = Editor();
    if (!editor) return;
    QTextCursor selection = editor->textCursor();
    if (!selection.hasSelection()) return;
    QTextCharFormat format;
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    selection.mergeCharFormat(format);
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
    // Only the roles set here are the area's own; the rest come from the
    // window, so that a key set back (HideSelection False) gives the
    // window's colours again.
    QPalette palette;
    palette.setColor(QPalette::Base, ToQColor(owner_.BackgroundColor()));
    palette.setColor(QPalette::Text, ToQColor(owner_.TextColor()));
    if (owner_.HideSelection()) {
      // The editor draws its selection in the Inactive colours while it
      // has no focus: there the selected text looks like the rest.
      palette.setBrush(QPalette::Inactive, QPalette::Highlight, Qt::transparent);
      palette.setColor(QPalette::Inactive, QPalette::HighlightedText, ToQColor(owner_.TextColor()));
    }
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
