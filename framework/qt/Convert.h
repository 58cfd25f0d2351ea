// The one place where model values become Qt's and back: colours, texts,
// alignments and fonts. Internal to framework/qt/.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include "framework/Peers.h"
#include "framework/Properties.h"
#include "framework/Protocol.h"

namespace fw::detail {

// The model's fourth byte is transparency; Qt's is opacity.
inline QColor ToQColor(Color c) { return QColor(c.red, c.green, c.blue, 255 - c.alpha); }
inline QString ToQString(const String& s) { return QString::fromStdString(s); }
inline String ToStdString(const QString& s) { return s.toStdString(); }

// A TextAlignment as Qt's horizontal alignment; the default is left.
inline Qt::Alignment HorizontalAlignment(std::int64_t textAlignment) {
  switch (textAlignment) {
    case kAlignCentre: return Qt::AlignHCenter;
    case kAlignRight: return Qt::AlignRight;
    default: return Qt::AlignLeft;
  }
}

// The platform's font for a control's font keys (framework/qt/Fonts.cpp).
QFont FontFor(const FontSpec& font);

}  // namespace fw::detail
