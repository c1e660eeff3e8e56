#include "UserPath.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "ActingForNobody.h"

namespace fs = std::filesystem;

namespace {

using namespace tbktest;

TEST_F(ActingForNobody, LinksAreFollowedOnlyAsTheUserCouldAndNeverIntoProcesses) {
  folder("home/real/game", nobody, nogroup, 0755);
  folder("shut/hidden", 0, 0, 0700);
  place(at("shut"), 0, 0, 0700);
  const std::pair<const char*, std::string> links[] = {
      {"home/up", "real"},
      {"home/chain", "up"},
      {"home/abs", at("home/real")},
      {"home/toHidden", at("shut/hidden")},
      {"home/toMissing", at("shut/nothing")},
      {"home/proc", "/proc/self/cwd"},
  };
  for (const auto& [name, target] : links) fs::create_symlink(target, at(name));
  struct Case {
    const char* path;
    std::string resolved;  // "" when refused
    std::string reason;
  };
  const Case cases[] = {
      {"home/chain/game", at("home/real/game"), ""},
      {"home/abs/game/../game/.", at("home/real/game"), ""},
      {"home/up/missing/../x", at("home/real/missing/../x"), ""},  // from a missing name on, as written
      {"home/toHidden/x", "", "may not look into " + at("shut") + ","},
      {"home/toMissing/x", "", "may not look into " + at("shut") + ","},
      {"home/proc/x", "", "leads into /proc, among the system's processes"},
  };
  for (const Case& c : cases) {
    std::string resolved;
    std::string reason = refusal([&] { resolved = tbk::resolvedAsRealUser(at(c.path)); });
    EXPECT_EQ(resolved, c.resolved) << c.path;
    if (!c.reason.empty()) {
      EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
      EXPECT_EQ(reason.find("hidden"), std::string::npos) << reason;
      EXPECT_EQ(reason.find("nothing"), std::string::npos) << reason;
    }
  }
}

}  // namespace
