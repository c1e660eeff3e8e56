#include <map>
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

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// entities lists both forms, one object a line, and writes nothing;
// remove-entity takes one out: a record with its id out of its digest, an
// old-form root out of its chunk's value, every other record as it was.
TEST(WorldCommands, EntitiesListBothFormsAndRemoveEntityTakesOneOut) {
  namespace cw = creatureworld;
  tbktest::TestSandbox sandbox;
  std::string folder = sandbox.worldFolder("herd");
  tbktest::writeWorld(folder, "Herd", true);
  cw::write(folder);
  auto before = worldreader::databaseContents(folder);
  std::ostringstream out, err;
  ASSERT_EQ(entitiesCommand({"herd", "--json"}, out, err), 0) << err.str();
  std::map<std::string, nlohmann::json> listed;
  for (const auto& line : linesOf(out.str()))
    listed[nlohmann::json::parse(line).at("id")] = nlohmann::json::parse(line);
  EXPECT_EQ(listed.size(), 15u) << out.str();
  for (const char* expected : {
           R"({"dimension":"overworld","health":14.0,"id":"1","identifier":"minecraft:wolf","listed":true,"name":"Rex",
               "x":40.5,"y":64.0,"z":-20.5})",
           R"({"dimension":"nether","health":20.0,"id":"4","identifier":"minecraft:zombie","listed":true,"name":"",
               "x":-24.0,"y":70.0,"z":3.0})",
           R"({"dimension":"overworld","health":null,"id":"7","identifier":"minecraft:chest_minecart","listed":true,
               "name":"","x":9.0,"y":64.0,"z":25.0})",
           R"({"dimension":"overworld","health":10.0,"id":"12","identifier":"minecraft:cow","listed":false,"name":"",
               "x":100.0,"y":64.0,"z":100.0})",
           R"({"dimension":"overworld","health":4.0,"id":"chunk:5:5:0:1","identifier":"minecraft:chicken",
               "listed":true,"name":"Old Hen","x":86.0,"y":64.0,"z":86.0})"}) {
    auto json = nlohmann::json::parse(expected);
    EXPECT_EQ(listed[json.at("id")], json);
  }
  EXPECT_EQ(linesOf(err.str()).size(), 2u) << "the damaged record and the missing one: " << err.str();
  EXPECT_EQ(worldreader::databaseContents(folder), before);

  auto roots = cw::oldFormRoots();
  struct Case {
    std::string id;
    int status;
    std::map<std::string, std::string> changed;  // "-" for a record gone
  } cases[] = {
      {"1", 0, {{cw::entityKey(cw::wolf), "-"}, {cw::digestKey(2, -2), ""}}},
      {"chunk:5:5:0:1", 0, {{cw::oldFormKey(5, 5), roots[0] + roots[2]}}},
      {"98", 1, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    before = worldreader::databaseContents(folder);
    std::ostringstream out, err;
    EXPECT_EQ(removeEntityCommand({"herd", c.id}, out, err), c.status) << err.str();
    auto expected = before;
    for (const auto& [key, value] : c.changed) value == "-" ? void(expected.erase(key)) : void(expected[key] = value);
    EXPECT_EQ(worldreader::databaseContents(folder), expected);
  }
}

}  // namespace
