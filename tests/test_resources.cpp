// The icon files and the Windows resource object: the committed icons are
// what the icon tool draws (within a rounding step where they were drawn on
// another machine), and the compiled resource script carries the version
// block, the seven-icon group and the manifest.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtEndian>
#include <array>
#include <cstdlib>
#include <map>
#include <string>

#include "framework/qt/ProgramIcon.h"

namespace {

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) ADD_FAILURE() << "cannot read " << path.toStdString();
  return f.readAll();
}

// A little-endian number of a file's bytes; a file too short for it is a
// failure, read as 0, never a read past the end.
template <class T>
T LittleEndian(const QByteArray& b, qsizetype at) {
  if (at < 0 || at > b.size() - qsizetype(sizeof(T))) {
    ADD_FAILURE() << "a " << sizeof(T) << "-byte number at " << at << " lies past the end of " << b.size() << " bytes";
    return 0;
  }
  return qFromLittleEndian<T>(b.constData() + at);
}
quint16 U16(const QByteArray& b, qsizetype at) { return LittleEndian<quint16>(b, at); }
quint32 U32(const QByteArray& b, qsizetype at) { return LittleEndian<quint32>(b, at); }

// The PNG entries of an .ico, as decoded images.
std::vector<QImage> IcoImages(const QByteArray& ico) {
  std::vector<QImage> images;
  if (ico.size() < 6 || U16(ico, 2) != 1) return images;
  for (int i = 0; i < U16(ico, 4); ++i) {
    const qsizetype entry = 6 + 16 * i;
    images.push_back(QImage::fromData(ico.mid(U32(ico, entry + 12), U32(ico, entry + 8)), "PNG")
                         .convertToFormat(QImage::Format_ARGB32));
  }
  return images;
}

// Where `stored` is not `drawn` within the tolerance, the first pixel that
// is not, as "(x,y): stored (r,g,b,a) against drawn (r,g,b,a)"; empty where
// they match. The tolerance is one step in 255 per channel, alpha and the
// colour as composited (premultiplied by alpha), because the icons are drawn
// premultiplied and stored straight: turning one into the other divides by
// alpha, and Qt's SIMD routines for it round differently from CPU to CPU
// (one step of a colour channel at a semi-transparent edge), so files drawn
// on one machine differ from the drawing on another. Premultiplied, those
// differences vanish, while a changed shape or colour moves many steps.
std::string DifferenceFromDrawing(const QImage& stored, const QImage& drawn) {
  if (stored.size() != drawn.size()) {
    return QStringLiteral("%1 x %2 against %3 x %4")
        .arg(stored.width())
        .arg(stored.height())
        .arg(drawn.width())
        .arg(drawn.height())
        .toStdString();
  }
  const auto composited = [](QRgb c) {
    const auto times = [a = qAlpha(c)](int v) { return (v * a + 127) / 255; };
    return std::array<int, 4>{times(qRed(c)), times(qGreen(c)), times(qBlue(c)), qAlpha(c)};
  };
  const auto text = [](QRgb c) {
    return QStringLiteral("(%1,%2,%3,%4)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c)).arg(qAlpha(c));
  };
  for (int y = 0; y < drawn.height(); ++y) {
    for (int x = 0; x < drawn.width(); ++x) {
      const QRgb s = stored.pixel(x, y), d = drawn.pixel(x, y);
      const auto cs = composited(s), cd = composited(d);
      for (std::size_t i = 0; i < cs.size(); ++i) {
        if (std::abs(cs[i] - cd[i]) > 1) {
          return QStringLiteral("(%1,%2): stored %3 against drawn %4")
              .arg(x)
              .arg(y)
              .arg(text(s), text(d))
              .toStdString();
        }
      }
    }
  }
  return {};
}

// Each file of `dir` against the drawing: exactly where the tool drew them
// here, within the tolerance where they were drawn elsewhere.
void ExpectSameIcons(const QString& dir, const std::string& what, bool exact) {
  const std::vector<QImage> fromIco = IcoImages(ReadFile(dir + "/quorvel.ico"));
  ASSERT_EQ(fromIco.size(), fw::detail::kIconSizes.size()) << what << " quorvel.ico";
  for (std::size_t i = 0; i < fromIco.size(); ++i) {
    const int size = fw::detail::kIconSizes[i];
    const QImage drawn = fw::detail::DrawProgramIcon(size);
    const QImage png =
        QImage(QStringLiteral("%1/icons/quorvel-%2.png").arg(dir).arg(size)).convertToFormat(QImage::Format_ARGB32);
    const std::string pngName = what + " quorvel-" + std::to_string(size) + ".png";
    const std::string icoName = what + " quorvel.ico entry " + std::to_string(i) + " (" + std::to_string(size) + " px)";
    if (exact) {
      EXPECT_TRUE(png == drawn) << pngName << " is not what the tool draws";
      EXPECT_TRUE(fromIco[i] == drawn) << icoName << " is not what the tool draws";
    } else {
      EXPECT_EQ(DifferenceFromDrawing(png, drawn), "") << pngName;
      EXPECT_EQ(DifferenceFromDrawing(fromIco[i], drawn), "") << icoName;
    }
  }
}

TEST(Icons, CommittedFilesAreWhatTheToolDraws) {
  QTemporaryDir scratch;
  ASSERT_TRUE(scratch.isValid());
  ASSERT_EQ(QProcess::execute(QStringLiteral(ICON_TOOL), {scratch.path()}), 0);
  ExpectSameIcons(scratch.path(), "freshly drawn", true);
  ExpectSameIcons(QStringLiteral(SOURCE_DIR "/resources"), "committed", false);
}

// The tolerance lets through rounding, not another drawing: a shape moved by
// a pixel, a colour changed by two steps or a smaller size scaled up.
TEST(Icons, ToleranceStillSeesAChangedDrawing) {
  const QImage drawn = fw::detail::DrawProgramIcon(64);
  ASSERT_EQ(DifferenceFromDrawing(drawn, drawn), "");
  QImage moved(drawn.size(), drawn.format());
  moved.fill(Qt::transparent);
  for (int y = 0; y < drawn.height(); ++y) {
    for (int x = 1; x < drawn.width(); ++x) moved.setPixel(x, y, drawn.pixel(x - 1, y));
  }
  QImage recoloured = drawn;
  const QRgb opaque = drawn.pixel(32, 10);
  ASSERT_EQ(qAlpha(opaque), 255);
  recoloured.setPixel(32, 10, qRgba(qRed(opaque), qGreen(opaque), qBlue(opaque) - 2, 255));
  const QImage scaled = fw::detail::DrawProgramIcon(32).scaled(64, 64).convertToFormat(QImage::Format_ARGB32);
  for (const QImage* other : std::initializer_list<const QImage*>{&moved, &recoloured, &scaled})
    EXPECT_NE(DifferenceFromDrawing(*other, drawn), "");
}

// One resource of a .res file.
struct Resource {
  int type = 0;
  int name = 0;
  QByteArray data;
};

// The resources of a .res file: each a header (sizes, then type and name as
// 0xFFFF and a number) and its data, both aligned to four bytes.
std::vector<Resource> ReadRes(const QByteArray& res) {
  std::vector<Resource> out;
  qsizetype at = 0;
  while (at + 32 <= res.size()) {
    const quint32 dataSize = U32(res, at), headerSize = U32(res, at + 4);
    Resource r;
    if (U16(res, at + 8) == 0xffff) r.type = U16(res, at + 10);
    if (U16(res, at + 12) == 0xffff) r.name = U16(res, at + 14);
    r.data = res.mid(at + headerSize, dataSize);
    if (dataSize > 0) out.push_back(r);
    at += headerSize + ((dataSize + 3) & ~3u);
  }
  return out;
}

// The strings of a version block: every node is its length, its value's
// length, its type, a UTF-16 key, then the value and the children, each
// aligned to four bytes.
void ReadVersionNode(const QByteArray& b, qsizetype at, qsizetype end, std::map<std::string, std::string>& strings,
                     QByteArray& fixed) {
  while (at + 6 <= end) {
    const quint16 length = U16(b, at), valueLength = U16(b, at + 2), type = U16(b, at + 4);
    if (length == 0) break;
    QString key;
    qsizetype p = at + 6;
    for (; p + 1 < b.size() && U16(b, p) != 0; p += 2) key.append(QChar(U16(b, p)));
    p = (p + 2 + 3) & ~qsizetype{3};
    const qsizetype nodeEnd = at + length;
    if (key == "VS_VERSION_INFO") {
      fixed = b.mid(p, valueLength);
      ReadVersionNode(b, (p + valueLength + 3) & ~qsizetype{3}, nodeEnd, strings, fixed);
    } else if (type == 1 && valueLength > 0 && key != "Translation") {
      strings[key.toStdString()] =
          QString::fromUtf16(reinterpret_cast<const char16_t*>(b.constData() + p), valueLength - 1).toStdString();
    } else if (key == "StringFileInfo" || key.size() == 8) {
      ReadVersionNode(b, p, nodeEnd, strings, fixed);
    }
    at = (nodeEnd + 3) & ~qsizetype{3};
  }
}

class WindowsResources : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QFile::exists(QStringLiteral(RESOURCE_OBJECT))) << "the resource object was not built";
    ASSERT_TRUE(scratch_.isValid());
    const QString res = scratch_.filePath("quorvel.res");
    // Read back from the object the build made, not from the script.
    ASSERT_EQ(QProcess::execute(QStringLiteral(WINDRES), {"-i", RESOURCE_OBJECT, "-O", "res", "-o", res}), 0);
    resources_ = ReadRes(ReadFile(res));
  }
  const Resource* Find(int type, int name) const {
    for (const auto& r : resources_) {
      if (r.type == type && r.name == name) return &r;
    }
    return nullptr;
  }
  QTemporaryDir scratch_;
  std::vector<Resource> resources_;
};

TEST_F(WindowsResources, VersionBlockSaysTwoPointZeroFinal) {
  const Resource* version = Find(16, 1);
  ASSERT_NE(version, nullptr) << "no version block";
  std::map<std::string, std::string> strings;
  QByteArray fixed;
  ReadVersionNode(version->data, 0, version->data.size(), strings, fixed);
  ASSERT_GE(fixed.size(), 52);
  EXPECT_EQ(U32(fixed, 0), 0xfeef04bdu);
  EXPECT_EQ(U32(fixed, 8), 0x00020000u) << "file version, high half";
  EXPECT_EQ(U32(fixed, 12), 0u) << "file version, low half";
  EXPECT_EQ(U32(fixed, 16), 0x00020000u) << "product version, high half";
  EXPECT_EQ(U32(fixed, 20), 0u) << "product version, low half";
  EXPECT_EQ(U32(fixed, 28) & 0x3f, 0u) << "flagged as debug, pre-release or special";
  EXPECT_EQ(strings["FileVersion"], "2.0.0.0");
  EXPECT_EQ(strings["ProductVersion"], "2.0.0.0");
  EXPECT_EQ(strings["Release"], "Final");
  EXPECT_EQ(strings["ProductName"], "Quorvel");
}

TEST_F(WindowsResources, IconGroupHasTheSevenSizes) {
  const Resource* group = Find(14, 1);
  ASSERT_NE(group, nullptr) << "no icon group";
  ASSERT_GE(group->data.size(), 6);
  ASSERT_EQ(U16(group->data, 4), 7);
  for (int i = 0; i < 7; ++i) {
    const qsizetype entry = 6 + 14 * i;
    const int width = static_cast<unsigned char>(group->data[entry]);
    EXPECT_EQ(width == 0 ? 256 : width, fw::detail::kIconSizes[i]);
    const Resource* icon = Find(3, U16(group->data, entry + 12));
    ASSERT_NE(icon, nullptr) << "entry " << i << " names a missing icon";
    EXPECT_EQ(DifferenceFromDrawing(QImage::fromData(icon->data, "PNG").convertToFormat(QImage::Format_ARGB32),
                                    fw::detail::DrawProgramIcon(fw::detail::kIconSizes[i])),
              "")
        << "icon " << i << " (" << fw::detail::kIconSizes[i] << " px)";
  }
}

TEST_F(WindowsResources, ManifestRunsAsInvokerWithCommonControlsSixAndPerMonitorDpi) {
  const Resource* manifest = Find(24, 1);
  ASSERT_NE(manifest, nullptr) << "no manifest";
  QXmlStreamReader xml(manifest->data);
  QString level, commonControls, awareness, dpiAware;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const auto a = xml.attributes();
    if (xml.name() == u"requestedExecutionLevel") level = a.value("level").toString();
    if (xml.name() == u"assemblyIdentity" && a.value("name") == u"Microsoft.Windows.Common-Controls") {
      commonControls = a.value("version").toString();
    }
    if (xml.name() == u"dpiAwareness")
      awareness = xml.readElementText();
    else if (xml.name() == u"dpiAware")
      dpiAware = xml.readElementText();
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(level, "asInvoker");
  EXPECT_EQ(commonControls, "6.0.0.0");
  EXPECT_TRUE(awareness.startsWith("PerMonitorV2")) << awareness.toStdString();
  EXPECT_EQ(dpiAware, "true/pm");
}

}  // namespace
