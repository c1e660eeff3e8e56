#pragma once

// Points the kit at the demo game's bundle in the source tree, and registers
// its font, for tests.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "Bevel/BVLImage.h"
#include "ui/Font.h"
#include "ui/TestDriver.h"

namespace bevel::testing {

inline std::string demoBundle() {
  if (const char* root = std::getenv("GORVANE_SOURCE_DIR")) return std::string(root) + "/demo/app";
  // Without the variable, the source tree the tests were built from (not
  // __FILE__, which a compiler cache may have made relative).
  return std::string(GORVANE_SOURCE_DIR) + "/demo/app";
}

inline void useDemoBundle() {
  bvl_setGameBundlePath(demoBundle());
  static bool fontAdded = GSFontAddFromFile((demoBundle() + "/minecraft.ttf").c_str());
  (void)fontAdded;
}

// A suite of tests that draw or run the kit's views over the demo bundle:
// `using Suite = bevel::testing::OnDemoBundle;`, then TEST_F(Suite, ...).
class OnDemoBundle : public ::testing::Test {
 protected:
  OnDemoBundle() { useDemoBundle(); }

  ui::TestDriver driver;
};

}  // namespace bevel::testing
