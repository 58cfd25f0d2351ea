#include <QApplication>
#include <QFontDatabase>
#include <algorithm>

#include "framework/qt/Convert.h"

namespace fw::detail {

// The platform's fonts for the three generic names. Where the Liberation
// fonts are installed they are preferred: they have the metrics the
// layouts were drawn with, so captions fit their labels.
QFont FontFor(const FontSpec& spec) {
  auto preferred = [](const String& family, QFont fallback) {
    return QFontDatabase::families().contains(ToQString(family)) ? QFont(ToQString(family)) : fallback;
  };
  QFont font;
  if (spec.name == "System") {
    font = preferred("Liberation Sans", QApplication::font());
  } else if (spec.name == "Courier") {
    font = preferred("Liberation Mono", QFontDatabase::systemFont(QFontDatabase::FixedFont));
  } else if (spec.name == "Times") {
    QFont serif("Times");
    serif.setStyleHint(QFont::Serif);
    font = preferred("Liberation Serif", serif);
  } else {
    font = QFont(ToQString(spec.name));
  }
  // Layout units are 1/72 inch, so a point is one unit.
  if (spec.size > 0) font.setPixelSize(std::max(1, static_cast<int>(spec.size + 0.5f)));
  font.setBold(spec.bold);
  font.setItalic(spec.italic);
  font.setUnderline(spec.underline);
  return font;
}

}  // namespace fw::detail
