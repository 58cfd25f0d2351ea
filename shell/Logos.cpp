#include "shell/Logos.h"

#include "framework/TestSeams.h"

namespace {
fw::Ref<fw::Picture> Cached(fw::Ref<fw::Picture>& cache, const char* fileName) {
  if (!cache) cache = fw::RuntimeGetPictureFromResourceManager(fileName);
  return cache;
}
fw::Ref<fw::Picture> smallLogo, mediumLogo;
const fw::test::ResetRegistration reset([] {
  smallLogo.Reset();
  mediumLogo.Reset();
});
}  // namespace

fw::Ref<fw::Picture> BMIsmall() { return Cached(smallLogo, "BMIsmall.png"); }
fw::Ref<fw::Picture> BMImedium() { return Cached(mediumLogo, "BMImedium.png"); }
