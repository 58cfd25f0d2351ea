#include "shell/FileTypes.h"

#include "framework/Run.h"
#include "framework/TestSeams.h"

namespace FileTypes {

fw::Ref<FileTypeList> pAllFileTypes;
fw::Ref<fw::FileType> pText;
fw::Ref<fw::FileType> pUntitledType;

namespace {
const fw::ModuleInitializer initializer("FileTypes", [] { pAllFileTypes = fw::New<FileTypeList>(); });
const fw::test::ResetRegistration reset([] {
  pAllFileTypes.Reset();
  pText.Reset();
  pUntitledType.Reset();
});

struct TypeData {
  const char* name;
  const char* extensions;
  const char* macType;
  const char* macCreator;
  const char* mimeType;
  bool imported;
  const char* conformsTo;
};
constexpr TypeData kText{"text", "", "TEXT", "R*ch", "", true, ""};
constexpr TypeData kUntitled{"", "", "", "", "", true, ""};

// Every property is set before the type is registered.
void SetUp(fw::FileType& type, const TypeData& data) {
  type.Name(data.name);
  type.Extensions(data.extensions);
  type.MacType(data.macType);
  type.MacCreator(data.macCreator);
  type.MimeType(data.mimeType);
  type.Imported(data.imported);
  type.ConformsTo(data.conformsTo);
}
}  // namespace

fw::Ref<fw::FileType> Text() { return pText; }
fw::Ref<fw::FileType> UntitledType() { return pUntitledType; }

void _Initialize() {
  pText = fw::New<fw::FileType>();
  SetUp(*pText, kText);
  pAllFileTypes->push_back(pText);
  Text()->Operator_Convert();

  pUntitledType = fw::New<fw::FileType>();
  SetUp(*pUntitledType, kUntitled);
  pAllFileTypes->push_back(pUntitledType);
  UntitledType()->Operator_Convert();
}

}  // namespace FileTypes
