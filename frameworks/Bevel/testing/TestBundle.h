#pragma once

// Points the kit at the demo game's bundle in the source tree, and registers
// its font, for tests.
#include <cstdlib>
#include <string>

#include "Bevel/BVLImage.h"
#include "ui/Font.h"

namespace bevel::testing {

inline std::string demoBundle() {
  if (const char* root = std::getenv("GORVANE_SOURCE_DIR")) return std::string(root) + "/demo/app";
  // Without the variable, the source tree this header was compiled from.
  std::string here = __FILE__;
  return here.substr(0, here.rfind("/frameworks/Bevel/")) + "/demo/app";
}

inline void useDemoBundle() {
  bvl_setGameBundlePath(demoBundle());
  static bool fontAdded = GSFontAddFromFile((demoBundle() + "/minecraft.ttf").c_str());
  (void)fontAdded;
}

}  // namespace bevel::testing
