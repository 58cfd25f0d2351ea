#include "framework/Picture.h"

#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#include "framework/Peers.h"
#include "framework/TestSeams.h"

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

const test::ResetRegistration resetLookup([] { TheLookup() = Lookup(); });

std::filesystem::path ProgramDir() {
  std::error_code error;
  return std::filesystem::canonical("/proc/self/exe", error).parent_path();
}

std::vector<std::filesystem::path> SearchDirs() {
  std::vector<std::filesystem::path> dirs(TheLookup().dirs.begin(), TheLookup().dirs.end());
  if (dirs.empty()) {
    const auto program = ProgramDir();
    dirs.push_back(program / "resources");
    dirs.push_back(program / ".." / "share" / "quorvel");
  }
  return dirs;
}

}  // namespace

int Picture::Width() const { return data_->Width(); }
int Picture::Height() const { return data_->Height(); }

Ref<Picture> RuntimeGetPictureFromResourceManager(const String& fileName) {
  detail::Step("RuntimeGetPictureFromResourceManager");
  // Only a plain file name is looked up: no path may leave the folders.
  if (fileName.empty() || fileName.find('/') != String::npos || fileName == "." || fileName == "..") return {};
  for (const auto& dir : SearchDirs()) {
    const auto path = dir / fileName;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) continue;
    ++TheLookup().reads[fileName];
    auto* toolkit = detail::InstalledToolkit();
    auto data = toolkit ? toolkit->DecodePicture(path.string()) : nullptr;
    if (!data) return {};  // there, but not a picture (or nothing to decode it with)
    return New<Picture>(std::move(data), fileName);
  }
  return {};
}

namespace test {
void SetResourceDirs(std::vector<std::string> dirs) { TheLookup().dirs = std::move(dirs); }
int PictureReads(const std::string& fileName) { return TheLookup().reads[fileName]; }
}  // namespace test

}  // namespace fw
