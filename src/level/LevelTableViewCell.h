#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "ui/TableViewCell.h"

// One row of a level settings table, as data: its title, the level-tree tag
// it edits ("_" for none) and the kind of widget that edits it.
struct LevelSettingDefinition {
  // Type codes.
  static constexpr int Choice = 0;       // one of `names`; the position is the tag's value
  static constexpr int WholeNumber = 3;  // an int tag, edited as decimal text
  static constexpr int Text = 8;         // a string tag
  static constexpr int InventoryButton = 20;
  static constexpr int ArmorButton = 21;
  // Rows of today's worlds. The player rows edit a tag of the player tree
  // (the row's player, given by key) the way Choice and WholeNumber edit the
  // level tree.
  static constexpr int BackupsButton = 25;     // opens the world's backups
  static constexpr int PlayersButton = 22;     // opens the list of the world's players
  static constexpr int EnderChestButton = 23;  // the player's "EnderChestInventory"
  static constexpr int OffhandButton = 24;     // the player's "Offhand"
  static constexpr int PlayerChoice = 30;
  static constexpr int PlayerWholeNumber = 31;
  static constexpr int LevelTreeButton = 26;   // opens every tag of the level
  static constexpr int PlayerTreeButton = 27;  // opens every tag of the row's player

  std::string name;
  std::string setting;
  int type = 0;
  std::vector<std::string> names;  // segment titles, for Choice rows only
};

// A row of the level settings screen: the title and one game-styled widget
// bound to a tag of the level tree, or a button that opens the player's
// inventory or armor. A change is written to the world at once.
class LevelTableViewCell : public ui::TableViewCell {
 public:
  LevelTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);

  // Replaces the title and the widget with those of `definition`. Each
  // widget's closure keeps the definition, the database and the trees given
  // here, so it writes into the trees of this preparation even after the
  // screen has read fresh ones. `player` may be null (a world never played):
  // the game type then changes the level alone, and the two buttons explain
  // why there is nothing to open. A write the library refuses is explained
  // in an alert; nothing is raised. Preparing writes nothing.
  //
  // `playerKey` names the record `player` was read from; player writes go
  // to that record. A choice of "GameType" or "PlayerGameMode" stores the
  // game mode its segment names (so "Adventure" stores 2 wherever it
  // stands), and writes the abilities of the player's effective mode: their
  // own "PlayerGameMode", or the world's game type when theirs is Default.
  // When the player's own mode overrides the world's, the "GameType" row
  // says so under its title.
  void makeReadyWithDefinition(const LevelSettingDefinition& definition, const std::shared_ptr<TBKLevelDB>& db,
                               const std::shared_ptr<TBKCompoundTag>& level,
                               const std::shared_ptr<TBKCompoundTag>& player,
                               const std::string& playerKey = TBKPlayerEntry::localKey);

  // Null before the first preparation, and `settingView` for a type code
  // without a widget.
  std::shared_ptr<BVLLabel> nameLabel;
  std::shared_ptr<ui::View> settingView;
  // The game type row's note that the player's own mode applies; null
  // otherwise.
  std::shared_ptr<BVLLabel> noteLabel;

 private:
  std::shared_ptr<ui::View> makeSettingView(const LevelSettingDefinition& definition,
                                            const std::shared_ptr<TBKLevelDB>& db,
                                            const std::shared_ptr<TBKCompoundTag>& level,
                                            const std::shared_ptr<TBKCompoundTag>& player,
                                            const std::string& playerKey);
  std::shared_ptr<ui::View> makePlayerRowView(const LevelSettingDefinition& definition,
                                              const std::shared_ptr<TBKLevelDB>& db,
                                              const std::shared_ptr<TBKCompoundTag>& level,
                                              const std::shared_ptr<TBKCompoundTag>& player,
                                              const std::string& playerKey);
  void push(const std::shared_ptr<ui::ViewController>& screen);
};
