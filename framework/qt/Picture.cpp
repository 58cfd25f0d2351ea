// Pictures on Qt: the files the model's lookup finds, decoded as QImages.
#include <QImage>

#include "framework/qt/Convert.h"
#include "framework/qt/Peers.h"

namespace fw::detail {

std::shared_ptr<PictureData> DecodeQtPicture(const std::string& path) {
  QImage image;
  if (!image.load(ToQString(path)) || image.isNull()) return nullptr;
  return std::make_shared<QtPictureData>(std::move(image));
}

}  // namespace fw::detail
