#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "external/Bevel.h"
#include "ui/TableViewCell.h"

// What a row of the level screen edits or opens.
enum class LevelRowKind {
  Text,               // a string tag of the level
  WholeNumber,        // an int tag of the level, edited as decimal text
  Choice,             // an int tag of the level: one of `names`
  PlayerChoice,       // the same, of the row's player
  PlayerWholeNumber,  // the same, of the row's player
  InventoryButton,
  ArmorButton,
  EnderChestButton,  // the player's "EnderChestInventory"
  OffhandButton,     // the player's "Offhand"
  PlayersButton,     // the list of the world's players
  LevelTreeButton,   // every tag of the level
  PlayerTreeButton,  // every tag of the row's player
  BackupsButton,     // the world's backups
  ContainersButton,  // the world's chests, barrels, furnaces...
  MapButton,         // the world from above
  CreaturesButton,   // the world's creatures
  FindItemButton,    // every place an item lies
  ExportButton,      // the world as a .mcworld archive in the user's documents
  StructuresButton,  // the world's saved structures, each to export
};

// One row of a level settings table, as data: its title, the tag it edits
// ("_" for none) and the kind of widget that edits it.
struct LevelSettingDefinition {
  std::string name = {};
  std::string setting = "_";
  LevelRowKind kind = LevelRowKind::Text;
  std::vector<std::string> names = {};  // segment titles, for choice rows only
};

struct LevelSection {
  std::string title = {};
  std::vector<LevelSettingDefinition> rows = {};
};

// What one row shows and what its widget does, given by the screen: the
// cell holds no record and opens no screen itself.
struct LevelRowBinding {
  long segment = BVLSegmentedControl::noSegment;  // the choice showing the stored value
  std::string text;                               // a field's stored value
  std::string note;                               // under the title; empty for none
  std::function<void(long segment)> choose;       // choice rows
  std::function<void(const std::string&)> type;   // field rows
  std::function<void()> open;                     // button rows
  std::string button;                             // a button's title; "" for the kind's own
};

// A row of the level settings screen: the title and one game-styled widget
// showing the binding's value and reporting each change to it at once.
class LevelTableViewCell : public ui::TableViewCell {
 public:
  LevelTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);

  // Replaces the title, the note and the widget with those of `definition`.
  // A row whose binding lacks the call its widget needs shows no widget.
  void makeReadyWithDefinition(const LevelSettingDefinition& definition, const LevelRowBinding& binding);

  // Null before the first preparation, and `settingView` for a row without
  // a widget.
  std::shared_ptr<BVLLabel> nameLabel;
  std::shared_ptr<ui::View> settingView;
  // The row's note (the game type row's "Player Mode ... applies"); null
  // otherwise.
  std::shared_ptr<BVLLabel> noteLabel;

 private:
  std::shared_ptr<ui::View> makeSettingView(const LevelSettingDefinition& definition, const LevelRowBinding& binding);
};
