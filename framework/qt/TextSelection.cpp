// A text area's selection and its bold style. The program counts
// characters in its own text, where a line break is CR LF (two characters)
// and a character outside the Basic Multilingual Plane is one; the Qt
// document counts a break as one position and such a character as two.
// These helpers translate between the two counts.
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>

#include "framework/Controls.h"
#include "framework/Run.h"
#include "framework/qt/Peers.h"

namespace fw {
namespace {

QTextEdit* Editor(const detail::ControlPeer* peer) { return static_cast<QTextEdit*>(peer->widget.data()); }

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

void Select(QTextEdit* editor, std::int64_t start, std::int64_t length) {
  const QString plain = editor->toPlainText();
  QTextCursor cursor(editor->document());
  const int from = PositionOf(plain, std::max<std::int64_t>(start, 0));
  const int to = PositionOf(plain, std::max<std::int64_t>(start, 0) + std::max<std::int64_t>(length, 0));
  cursor.setPosition(from);
  cursor.setPosition(to, QTextCursor::KeepAnchor);
  editor->setTextCursor(cursor);
}

}  // namespace

std::int64_t TextArea::SelectionStart() const {
  CheckUIThread("TextArea.SelectionStart");
  auto* editor = Editor(peer_.get());
  if (!editor) return 0;
  return IndexOf(editor->toPlainText(), editor->textCursor().selectionStart());
}

void TextArea::SelectionStart(std::int64_t v) {
  CheckUIThread("TextArea.SelectionStart");
  if (auto* editor = Editor(peer_.get())) Select(editor, v, 0);
}

std::int64_t TextArea::SelectionLength() const {
  CheckUIThread("TextArea.SelectionLength");
  auto* editor = Editor(peer_.get());
  if (!editor) return 0;
  const QString plain = editor->toPlainText();
  const QTextCursor cursor = editor->textCursor();
  return IndexOf(plain, cursor.selectionEnd()) - IndexOf(plain, cursor.selectionStart());
}

void TextArea::SelectionLength(std::int64_t v) {
  CheckUIThread("TextArea.SelectionLength");
  if (auto* editor = Editor(peer_.get())) Select(editor, SelectionStart(), v);
}

bool TextArea::SelectionBold() const {
  CheckUIThread("TextArea.SelectionBold");
  auto* editor = Editor(peer_.get());
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

void TextArea::SelectionBold(bool v) {
  CheckUIThread("TextArea.SelectionBold");
  auto* editor = Editor(peer_.get());
  if (!editor || !allowStyled_) return;
  QTextCursor selection = editor->textCursor();
  if (!selection.hasSelection()) return;
  QTextCharFormat format;
  format.setFontWeight(v ? QFont::Bold : QFont::Normal);
  selection.mergeCharFormat(format);
}

}  // namespace fw
