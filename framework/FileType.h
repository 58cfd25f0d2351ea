// A document type the program declares. Converting it to text registers it
// with the runtime, once per object; nothing else in the framework uses the
// list of registered types.
#pragma once

#include <vector>

#include "framework/Object.h"

namespace fw {

class FileType : public Object {
 public:
  const String& Name() const { return name_; }
  void Name(const String& v);
  const String& Extensions() const { return extensions_; }
  void Extensions(const String& v);
  const String& MacType() const { return macType_; }
  void MacType(const String& v);
  const String& MacCreator() const { return macCreator_; }
  void MacCreator(const String& v);
  const String& MimeType() const { return mimeType_; }
  void MimeType(const String& v);
  bool Imported() const { return imported_; }
  void Imported(bool v);
  const String& ConformsTo() const { return conformsTo_; }
  void ConformsTo(const String& v);
  const String& UTI() const { return uti_; }

  // Registers the type (the first time only) and yields its name.
  String Operator_Convert();
  bool Registered() const { return registered_; }

  std::string ClassName() const override { return "FileType"; }

 private:
  String name_, extensions_, macType_, macCreator_, mimeType_, conformsTo_, uti_;
  bool imported_ = false, registered_ = false;
};

// What the runtime was handed when a type was registered.
struct RegisteredFileType {
  const FileType* type;
  String name, macCreator, macType, extensions, uti;
};
const std::vector<RegisteredFileType>& RuntimeRegisteredFileTypes();

}  // namespace fw
