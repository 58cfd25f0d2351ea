#include "framework/qt/ProgramIcon.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QtEndian>
#include <stdexcept>

#include "framework/qt/Convert.h"
#include "framework/qt/IconFiles.h"

namespace fw::detail {
namespace {

// The About window's navy.
const QColor kNavy(0x02, 0x00, 0x80);

QString PngName(int size) { return QStringLiteral("quorvel-%1.png").arg(size); }

void Put16(QByteArray& out, quint16 v) {
  const quint16 le = qToLittleEndian(v);
  out.append(reinterpret_cast<const char*>(&le), 2);
}
void Put32(QByteArray& out, quint32 v) {
  const quint32 le = qToLittleEndian(v);
  out.append(reinterpret_cast<const char*>(&le), 4);
}

QByteArray PngBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
    throw std::runtime_error("could not encode a PNG");
  }
  return bytes;
}

}  // namespace

// A white balance scale on a navy rounded square. All lengths are fractions
// of the size, so every size is the same drawing.
QImage DrawProgramIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size, size);

  p.setPen(Qt::NoPen);
  p.setBrush(kNavy);
  p.drawRoundedRect(QRectF(0.03, 0.03, 0.94, 0.94), 0.18, 0.18);

  p.setBrush(Qt::white);
  p.drawRect(QRectF(0.47, 0.26, 0.06, 0.50));                     // post
  p.drawRoundedRect(QRectF(0.30, 0.74, 0.40, 0.07), 0.03, 0.03);  // foot
  p.drawEllipse(QPointF(0.50, 0.25), 0.055, 0.055);               // pivot
  p.drawRect(QRectF(0.17, 0.29, 0.66, 0.045));                    // beam

  QPen string(Qt::white, 0.025);
  string.setCapStyle(Qt::RoundCap);
  for (double centre : {0.25, 0.75}) {
    p.setPen(string);
    p.drawLine(QPointF(centre, 0.32), QPointF(centre - 0.12, 0.56));
    p.drawLine(QPointF(centre, 0.32), QPointF(centre + 0.12, 0.56));
    p.setPen(Qt::NoPen);
    QPainterPath pan;  // a bowl: the lower half of an ellipse
    pan.moveTo(centre - 0.15, 0.56);
    pan.arcTo(QRectF(centre - 0.15, 0.48, 0.30, 0.16), 180, 180);
    pan.closeSubpath();
    p.drawPath(pan);
  }
  p.end();
  return image.convertToFormat(QImage::Format_ARGB32);
}

QByteArray IcoFile(const std::vector<QImage>& images) {
  std::vector<QByteArray> pngs;
  for (const QImage& image : images) pngs.push_back(PngBytes(image));
  QByteArray out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // an icon, not a cursor
  Put16(out, static_cast<quint16>(images.size()));
  quint32 offset = 6 + 16 * static_cast<quint32>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    // A byte each for width and height; 0 stands for 256.
    out.append(static_cast<char>(images[i].width() & 0xff));
    out.append(static_cast<char>(images[i].height() & 0xff));
    out.append('\0');  // no palette
    out.append('\0');  // reserved
    Put16(out, 1);     // planes
    Put16(out, 32);    // bits per pixel
    Put32(out, static_cast<quint32>(pngs[i].size()));
    Put32(out, offset);
    offset += static_cast<quint32>(pngs[i].size());
  }
  for (const QByteArray& png : pngs) out.append(png);
  return out;
}

void WriteProgramIconFiles(const std::string& dir) {
  const QDir root(ToQString(dir));
  if (!root.mkpath(QStringLiteral("icons"))) throw std::runtime_error("could not make " + dir + "/icons");
  std::vector<QImage> images;
  for (int size : kIconSizes) {
    images.push_back(DrawProgramIcon(size));
    const QString path = root.filePath(QStringLiteral("icons/") + PngName(size));
    if (!images.back().save(path, "PNG")) throw std::runtime_error("could not write " + ToStdString(path));
  }
  QFile ico(root.filePath(QStringLiteral("quorvel.ico")));
  if (!ico.open(QIODevice::WriteOnly) || ico.write(IcoFile(images)) < 0) {
    throw std::runtime_error("could not write " + ToStdString(ico.fileName()));
  }
}

void InstallProgramIcon() {
  // After the first window is on screen, so that reading the files costs
  // start-up nothing; the window system picks the icon up when it is set.
  QTimer::singleShot(0, qApp, [] {
    const QString program = QCoreApplication::applicationDirPath();
    QIcon icon;
    for (int size : kIconSizes) {
      // Title bars and window switchers use up to 64 pixels; launchers take
      // the larger sizes from the icon theme, through the desktop entry.
      if (size > 64) break;
      const QString beside = program + QStringLiteral("/resources/icons/") + PngName(size);
      const QString installed = program + QStringLiteral("/../share/icons/hicolor/%1x%1/apps/quorvel.png").arg(size);
      for (const QString& path : {beside, installed}) {
        if (QFileInfo(path).isFile()) {
          icon.addFile(path, QSize(size, size));
          break;
        }
      }
    }
    if (!icon.isNull()) QApplication::setWindowIcon(icon);
  });
}

}  // namespace fw::detail
