#include "framework/FileType.h"

#include "framework/TestSeams.h"

namespace fw {
namespace {
std::vector<RegisteredFileType>& RegisteredTypes() {
  static std::vector<RegisteredFileType> list;
  return list;
}
const test::ResetRegistration reset([] { RegisteredTypes().clear(); });
}  // namespace

void FileType::Name(const String& v) { name_ = v; }
void FileType::Extensions(const String& v) { extensions_ = v; }
void FileType::MacType(const String& v) { macType_ = v; }
void FileType::MacCreator(const String& v) { macCreator_ = v; }
void FileType::MimeType(const String& v) { mimeType_ = v; }
void FileType::Imported(bool v) { imported_ = v; }
void FileType::ConformsTo(const String& v) { conformsTo_ = v; }

String FileType::Operator_Convert() {
  detail::Step("FileType.Operator_Convert");
  if (!registered_) {
    registered_ = true;
    RegisteredTypes().push_back({this, name_, macCreator_, macType_, extensions_, uti_});
  }
  return name_;
}

const std::vector<RegisteredFileType>& RuntimeRegisteredFileTypes() { return RegisteredTypes(); }

}  // namespace fw
