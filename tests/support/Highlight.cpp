#include "tests/support/Highlight.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTextCursor>
#include <QTextEdit>

namespace {
// Grey antialiasing of dark text on a light ground never gives it.
const QColor kMarker(0xff, 0x00, 0xff);
}  // namespace

SelectionHighlight::SelectionHighlight() : saved_(QApplication::palette()) {
  QPalette palette = saved_;
  for (auto group : {QPalette::Active, QPalette::Inactive}) palette.setColor(group, QPalette::Highlight, kMarker);
  QApplication::setPalette(palette);
}

SelectionHighlight::~SelectionHighlight() { QApplication::setPalette(saved_); }

bool SelectionHighlight::Shows(QTextEdit* editor) {
  const QTextCursor selection = editor->textCursor();
  if (!selection.hasSelection()) return false;
  QTextCursor start(editor->document()), end(editor->document());
  start.setPosition(selection.selectionStart());
  end.setPosition(selection.selectionEnd());
  // Viewport coordinates, from the top of the first selected line to the
  // bottom of the last.
  const QRect area = editor->cursorRect(start).united(editor->cursorRect(end));
  const QImage image = editor->viewport()->grab().toImage();
  const qreal scale = image.devicePixelRatio();
  const QRect pixels = QRect(area.topLeft() * scale, area.size() * scale).intersected(image.rect());
  for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
    for (int x = pixels.left(); x <= pixels.right(); ++x) {
      if (image.pixelColor(x, y).rgb() == kMarker.rgb()) return true;
    }
  }
  return false;
}
