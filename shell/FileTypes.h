// The program's two document types, declared to the framework at start-up.
// Nothing in the program opens or saves documents.
#pragma once

#include <vector>

#include "framework/FileType.h"

namespace FileTypes {

using FileTypeList = std::vector<fw::Ref<fw::FileType>>;

// Made empty by the module initialiser; then "text", then the untitled type.
extern fw::Ref<FileTypeList> pAllFileTypes;
extern fw::Ref<fw::FileType> pText;
extern fw::Ref<fw::FileType> pUntitledType;

fw::Ref<fw::FileType> Text();
fw::Ref<fw::FileType> UntitledType();
// Builds and registers both types; called once during start-up.
void _Initialize();

}  // namespace FileTypes
