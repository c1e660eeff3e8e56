#include "Tarnbook/TBKStructures.h"

#include <sys/stat.h>

#include <functional>

#include <gtest/gtest.h>

#include "ActingForNobody.h"
#include "StructureBytes.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"

using tbktest::WorldsForNobody, tbktest::structureBytes, tbktest::ints;

namespace {

// A structure the world keeps comes out as the user's own .mcstructure file
// holding its very bytes, as a reader apart from the library reads them,
// and goes back in under another name.
TEST_F(WorldsForNobody, AStructureGoesOutAsItIsKeptAndComesInUnderANameOfTheUsers) {
  std::string bytes = structureBytes();
  TBKLevelDB db(sandbox.worldFolder("lake"), "Lakeside Survival", "");
  db.writeRecords({{"structuretemplate_mystructure:house", bytes}});
  ASSERT_EQ(TBKStructures::names(db), std::vector<std::string>{"mystructure:house"});

  std::string out = folder("out", tbktest::nobody, tbktest::nogroup, 0755) + "/house.mcstructure";
  TBKStructures::exportStructure(db, "mystructure:house", out);
  EXPECT_EQ(tbktest::readFile(out), bytes);
  struct stat info;
  ASSERT_EQ(::stat(out.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, tbktest::nobody);
  TestTag read = worldreader::parseNBT(tbktest::readFile(out));
  EXPECT_EQ(read.number("format_version"), 1);
  EXPECT_EQ(read.number("size/0"), 2);
  EXPECT_EQ(read.number("structure/block_indices/1/1"), 1);
  EXPECT_EQ(read.string("structure/palette/default/block_palette/1/name"), "minecraft:water");
  EXPECT_EQ(read.string("structure/palette/default/block_position_data/0/block_entity_data/id"), "Chest");
  EXPECT_EQ(read.number("structure_world_origin/2"), -5);

  EXPECT_EQ(TBKStructures::importStructure(db, out, "barn"), "mystructure:barn");
  EXPECT_EQ(worldreader::readDatabaseValue(sandbox.worldFolder("lake"), "structuretemplate_mystructure:barn"), bytes);
  EXPECT_EQ(tbktest::raisedKind([&] { TBKStructures::exportStructure(db, "mystructure:shed", out); }),
            TBKException::Kind::Usage);
}

// A file of another shape is refused saying what is wrong, and nothing is
// written.
TEST_F(WorldsForNobody, AFileOfAnotherShapeIsNotTakenForAStructure) {
  auto remove = [](const char* name) { return [name](TBKCompoundTag& root) { root.removeObjectForKey(name); }; };
  struct Case {
    std::string bytes;
    const char* reason;
  } cases[] = {
      {"not NBT", "it is not one NBT compound"},
      {structureBytes([](TBKCompoundTag& root) { root.setValueForKey(TBKNumberTag::intTag("format_version", 2)); }),
       "its format_version is not the int 1"},
      {structureBytes([](TBKCompoundTag& root) {
         root.setValueForKey(ints("size", {2, 1}));
       }),
       "its size is not three ints"},
      {structureBytes([](TBKCompoundTag& root) {
         root.setValueForKey(ints("size", {3, 1, 1}));
       }),
       "its block_indices do not hold one int for each of its 3 blocks"},
      {structureBytes([](TBKCompoundTag& root) {
         root.compoundForKey("structure")
             ->listForKey("block_indices")
             ->setObjectAtIndexedSubscript(ints("", {0, 2}), 0);
       }),
       "its block index 2 is not in its palette of 2"},
      {structureBytes(remove("structure")), "it holds no structure compound"},
      {structureBytes(remove("structure_world_origin")), "its structure_world_origin is not three ints"},
  };
  TBKLevelDB db(sandbox.worldFolder("lake"), "Lakeside Survival", "");
  std::string file = at("in.mcstructure");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reason);
    tbktest::writeFile(file, c.bytes);
    place(file, tbktest::nobody, tbktest::nogroup, 0644);
    auto error = tbktest::raised([&] { TBKStructures::importStructure(db, file, "bad"); });
    EXPECT_EQ(error.kind(), TBKException::Kind::Format);
    EXPECT_NE(error.reason().find(c.reason), std::string::npos) << error.reason();
    EXPECT_EQ(TBKStructures::names(db), std::vector<std::string>());
  }
}

}  // namespace
