#include "framework/Picture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <map>

#include "framework/TestSeams.h"
#include "framework/qt/Peers.h"

namespace fw {
namespace {

struct Lookup {
  std::vector<std::string> dirs;  // set by tests; empty means beside the program
  std::map<std::string, int> reads;
};

Lookup& TheLookup() {
  static Lookup lookup;
  return lookup;
}

QString ProgramDir() {
  if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section('/', 0, -2);
}

std::vector<QString> SearchDirs() {
  std::vector<QString> dirs;
  for (const auto& d : TheLookup().dirs) dirs.push_back(QString::fromStdString(d));
  if (dirs.empty()) {
    const QString program = ProgramDir();
    dirs.push_back(program + QStringLiteral("/resources"));
    dirs.push_back(program + QStringLiteral("/../share/quorvel"));
  }
  return dirs;
}

}  // namespace

int Picture::Width() const { return data_->image.width(); }
int Picture::Height() const { return data_->image.height(); }

Ref<Picture> RuntimeGetPictureFromResourceManager(const String& fileName) {
  detail::Step("RuntimeGetPictureFromResourceManager");
  // Only a plain file name is looked up: no path may leave the folders.
  if (fileName.empty() || fileName.find('/') != String::npos || fileName == "." || fileName == "..") return {};
  for (const QString& dir : SearchDirs()) {
    const QString path = QDir(dir).filePath(QString::fromStdString(fileName));
    if (!QFileInfo(path).isFile()) continue;
    ++TheLookup().reads[fileName];
    auto data = std::make_shared<detail::PictureData>();
    if (!data->image.load(path) || data->image.isNull()) return {};  // there, but not a picture
    data->image.setText(QStringLiteral("quorvel.file"), QString::fromStdString(fileName));  // for screen readers
    return New<Picture>(std::move(data));
  }
  return {};
}

namespace test {
void SetResourceDirs(std::vector<std::string> dirs) { TheLookup().dirs = std::move(dirs); }
int PictureReads(const std::string& fileName) { return TheLookup().reads[fileName]; }
}  // namespace test

}  // namespace fw
