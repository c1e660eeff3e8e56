#include "Bevel/BVLImage.h"

#include <cstdlib>
#include <map>

namespace {

std::string& overridePath() {
  static std::string path;
  return path;
}

}  // namespace

void bvl_setGameBundlePath(const std::string& path) { overridePath() = path; }

std::string bvl_gameBundlePath() {
  if (!overridePath().empty()) return overridePath();
  const char* fromEnvironment = std::getenv("TARNBOOK_GAME_APP");
  return fromEnvironment ? fromEnvironment : "";
}

std::vector<std::string> bvl_imagePaths(const std::string& name, const std::string& extension) {
  std::string bundle = bvl_gameBundlePath();
  if (bundle.empty() || name.empty()) return {};
  std::string file = extension.empty() ? name : name + "." + extension;
  return {bundle + "/data/images/gui/" + file, bundle + "/data/images/" + file};
}

std::shared_ptr<ui::Image> bvl_imageNamed(const std::string& name, const std::string& extension) {
  // Keyed by the full path, so a different bundle reads its own pictures;
  // a picture that is missing is looked for again next time.
  static std::map<std::string, std::shared_ptr<ui::Image>> cache;
  for (const auto& path : bvl_imagePaths(name, extension)) {
    auto found = cache.find(path);
    if (found != cache.end()) return found->second;
    if (auto image = ui::Image::fromFile(path)) {
      cache[path] = image;
      return image;
    }
  }
  return nullptr;
}

std::shared_ptr<ui::Image> bvl_subImageWithFrame(const std::shared_ptr<ui::Image>& image, const ui::Rect& pixelRect) {
  return image ? image->subImage(pixelRect) : nullptr;
}

std::shared_ptr<ui::Image> bvl_resize(const std::shared_ptr<ui::Image>& image, ui::Size points) {
  return image ? image->resized(points) : nullptr;
}
