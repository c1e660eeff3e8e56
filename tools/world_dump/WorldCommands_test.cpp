#include <sstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "Commands.h"
#include "ContainerWorld.h"
#include "CreatureWorld.h"
#include "TarnbookTestWorld.h"
#include "WorldReader.h"

namespace {

// The commands over the containers' and creatures' world, named as the game's data folder
// lists it, their lines read as JSON; the world is left as it was.
TEST(WorldCommands, ListAndFindOneJsonObjectALineAndLeaveTheWorldAlone) {
  tbktest::TestSandbox sandbox;
  std::string folder = sandbox.worldFolder("chests");
  tbktest::writeContainerWorld(folder);
  creatureworld::write(folder);
  auto before = worldreader::snapshot(folder);
  struct Case {
    int (*command)(const std::vector<std::string>&, std::ostream&, std::ostream&);
    std::vector<std::string> args;
    size_t line;
    std::string json;
    size_t lines;
  } cases[] = {
      {containersCommand,
       {"chests", "--json"},
       0,
       R"({"dimension":"nether","id":"Chest","items":[{"count":9,"name":"minecraft:gold_ingot","slot":3}],"name":"Chest","x":5,"y":40,"z":5})",
       10},
      {containersCommand,
       {folder, "--json"},
       2,
       R"({"dimension":"overworld","id":"Chest","items":[{"count":3,"name":"minecraft:apple","slot":0},{"count":5,"name":"minecraft:bread","slot":28}],"name":"Chest","x":3,"y":64,"z":2})",
       10},
      {findCommand,
       {"chests", "elytra", "--json"},
       0,
       R"({"items":[{"count":1,"name":"minecraft:elytra","slot":0}],"list":"EnderChestInventory","player":"~local_player"})",
       3},
      {findCommand,
       {"Chests", "minecraft:elytra", "--json"},
       2,
       R"({"dimension":"overworld","id":"Barrel","items":[{"box_slot":0,"count":1,"name":"minecraft:elytra","slot":2}],"name":"Loot","x":17,"y":64,"z":3})",
       3},
      {findCommand,
       {"chests", "saddle", "--json"},
       0,
       R"({"creature":"6","dimension":"overworld","id":"minecraft:donkey","items":[{"count":1,"name":"minecraft:saddle","slot":1}],"list":"ChestItems","x":6.0,"y":64.0,"z":22.0})",
       1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    std::ostringstream out, err;
    ASSERT_EQ(c.command(c.args, out, err), 0) << err.str();
    std::vector<std::string> lines;
    std::istringstream text(out.str());
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), c.lines) << out.str();
    EXPECT_EQ(nlohmann::json::parse(lines[c.line]), nlohmann::json::parse(c.json));
  }
  std::ostringstream out, err;
  EXPECT_EQ(findCommand({"nowhere", "elytra"}, out, err), 1);
  EXPECT_EQ(worldreader::describeDifference(before, worldreader::snapshot(folder)), "");
}

}  // namespace
