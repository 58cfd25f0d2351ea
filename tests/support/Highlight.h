// Whether a text editor shows its selection highlighted, told from what it
// draws without comparing drawn text: while a SelectionHighlight lives, the
// application's highlight colour (focused and unfocused alike) is one that
// nothing else in the tests draws, and the selection shows when that colour
// appears anywhere in the selection's rectangle of the rendered editor.
#pragma once

#include <QPalette>

class QTextEdit;

class SelectionHighlight {
 public:
  SelectionHighlight();
  ~SelectionHighlight();
  SelectionHighlight(const SelectionHighlight&) = delete;
  SelectionHighlight& operator=(const SelectionHighlight&) = delete;

  // False also when the editor has no selection.
  static bool Shows(QTextEdit* editor);

 private:
  QPalette saved_;
};
