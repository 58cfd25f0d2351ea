// A decoded picture, its data the toolkit's, and the lookup of picture
// files among the program's resources by file name.
#pragma once

#include <memory>

#include "framework/Object.h"

namespace fw {

namespace detail {
class PictureData;
}

class Picture : public Object {
 public:
  Picture(std::shared_ptr<detail::PictureData> data, String fileName)
      : data_(std::move(data)), fileName_(std::move(fileName)) {}
  int Width() const;
  int Height() const;
  // The file the picture was read from, as it was asked for.
  const String& FileName() const { return fileName_; }
  const detail::PictureData& Data() const { return *data_; }
  std::string ClassName() const override { return "Picture"; }

 private:
  std::shared_ptr<detail::PictureData> data_;
  String fileName_;
};

// The picture of that file name in resources/ beside the program, or in
// ../share/quorvel/ beside it; none when it is missing or cannot be decoded.
Ref<Picture> RuntimeGetPictureFromResourceManager(const String& fileName);

}  // namespace fw
