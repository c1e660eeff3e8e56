#include "level/LevelTableViewCell.h"

#include <algorithm>
#include <cstdio>

#include "backups/BackupsTableViewController.h"
#include "equipment/ArmorViewController.h"
#include "equipment/InventoryViewController.h"
#include "equipment/ItemViewController.h"
#include "level/PlayersTableViewController.h"
#include "records/GameMode.h"
#include "records/WholeNumber.h"
#include "tree/TagTreeViewController.h"
#include "ui/AlertView.h"
#include "ui/Application.h"
#include "ui/Font.h"
#include "ui/NavigationController.h"
#include "ui/Window.h"

namespace {

// A choice of more than two segments widens to the left, up to 70 points a
// segment, so that "Adventure" and "Spectator" keep a readable size.
ui::Rect choiceFrame(const ui::Rect& standard, size_t segments) {
  if (segments <= 2) return standard;
  double width = std::min(70.0 * double(segments), standard.maxX() - 180);
  return ui::Rect(standard.maxX() - width, standard.y(), width, standard.height());
}

void showError(const std::string& reason) {
  std::make_shared<ui::AlertView>("Error", reason, nullptr, "Okay", std::vector<std::string>{})->show();
}

// A write the library refuses (a full disk, the game taking the world back)
// is explained rather than raised: raised from a widget's closure it would
// end the program.
template <class Write>
void writeOrExplain(Write write) {
  try {
    write();
  } catch (const TBKException& error) {
    showError(error.reason());
  }
}

// The player tree, or null once an alert has said why there is none (the
// library's reason: no player yet, a damaged record, the game holding it).
std::shared_ptr<TBKCompoundTag> playerOrExplain(const std::shared_ptr<TBKLevelDB>& db,
                                                const std::shared_ptr<TBKCompoundTag>& player) {
  if (player) return player;
  try {
    return db->player();
  } catch (const TBKException& error) {
    showError(error.reason());
    return nullptr;
  }
}

bool isModeSetting(const std::string& setting) { return setting == "GameType" || setting == "PlayerGameMode"; }

// What a segment stores: on the two game-mode rows the mode its title names
// (the segments of today's worlds do not run in the modes' numeric order),
// on any other row its position.
int32_t segmentValue(const LevelSettingDefinition& definition, long position) {
  if (isModeSetting(definition.setting) && position >= 0 && size_t(position) < definition.names.size()) {
    int32_t mode = gamemode::valueNamed(definition.names[size_t(position)]);
    if (mode >= 0) return mode;
  }
  return int32_t(position);
}

// The segment that shows `value`; none when no segment stores it.
long segmentShowing(const LevelSettingDefinition& definition, int32_t value) {
  if (!isModeSetting(definition.setting)) return value;
  for (size_t i = 0; i < definition.names.size(); ++i) {
    if (gamemode::valueNamed(definition.names[i]) == value) return long(i);
  }
  return BVLSegmentedControl::noSegment;
}

void storeChoice(const LevelSettingDefinition& definition, long position, TBKLevelDB& db,
                 const std::shared_ptr<TBKCompoundTag>& level, const std::shared_ptr<TBKCompoundTag>& player,
                 const std::string& playerKey) {
  int32_t value = segmentValue(definition, position);
  auto tag = TBKNumberTag::intTag(definition.setting, value);
  // The game type decides what the player may do, unless the player's own
  // mode overrides it; the player goes first so that a level saying
  // "creative" never meets a player who cannot fly.
  if (definition.setting == "GameType" && player) {
    int32_t own = gamemode::playerMode(*player);
    gamemode::writeAbilities(*player, own == gamemode::followsWorld ? value : own);
    db.setPlayerForKey(playerKey, player);
  }
  level->setValueForKey(tag);
  db.setLevelData(level);
}

// The rows of the table the cell is in are prepared again once the widget
// that reported has returned: a player's mode changes the note on the game
// type row.
void reloadTableLater(const std::weak_ptr<LevelTableViewCell>& weakCell) {
  ui::Application::post([weakCell] {
    auto cell = weakCell.lock();
    for (auto view = cell ? cell->superview() : nullptr; view; view = view->superview()) {
      if (auto table = std::dynamic_pointer_cast<ui::TableView>(view)) return table->reloadData();
    }
  });
}

}  // namespace

LevelTableViewCell::LevelTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : ui::TableViewCell(style, reuseIdentifier) {}

void LevelTableViewCell::makeReadyWithDefinition(const LevelSettingDefinition& definition,
                                                 const std::shared_ptr<TBKLevelDB>& db,
                                                 const std::shared_ptr<TBKCompoundTag>& level,
                                                 const std::shared_ptr<TBKCompoundTag>& player,
                                                 const std::string& playerKey) {
  if (nameLabel) nameLabel->removeFromSuperview();
  setBackgroundColor(ui::Color::clear());
  ui::Size size = ui::Font::named("Minecraft", 16).measure(definition.name);
  nameLabel = std::make_shared<BVLLabel>(ui::Rect(40, 15, size.width, size.height));
  nameLabel->setText(definition.name);
  nameLabel->setStyle(BVLLabel::DetailStyle);
  addSubview(nameLabel);

  if (noteLabel) noteLabel->removeFromSuperview();
  noteLabel = nullptr;
  if (definition.setting == "GameType" && definition.type == LevelSettingDefinition::Choice && player &&
      gamemode::playerMode(*player) != gamemode::followsWorld) {
    std::string note = "Player Mode " + gamemode::nameOf(gamemode::playerMode(*player)) + " applies";
    ui::Font small = ui::Font::named("Minecraft", 8);
    ui::Size noteSize = small.measure(note);
    noteLabel = std::make_shared<BVLLabel>(ui::Rect(40, 33, noteSize.width, noteSize.height));
    noteLabel->setFont(small);
    noteLabel->setText(note);
    noteLabel->setStyle(BVLLabel::DetailStyle);
    addSubview(noteLabel);
  }

  if (settingView) settingView->removeFromSuperview();
  settingView = makeSettingView(definition, db, level, player, playerKey);
  if (settingView) addSubview(settingView);
}

std::shared_ptr<ui::View> LevelTableViewCell::makeSettingView(const LevelSettingDefinition& definition,
                                                              const std::shared_ptr<TBKLevelDB>& db,
                                                              const std::shared_ptr<TBKCompoundTag>& level,
                                                              const std::shared_ptr<TBKCompoundTag>& player,
                                                              const std::string& playerKey) {
  // 200 points wide, 20 from the right edge, centred in the 46-point row.
  ui::Rect widgetFrame(frame().width() - 220, 5, 200, 36);
  std::weak_ptr<LevelTableViewCell> weakCell = std::static_pointer_cast<LevelTableViewCell>(shared_from_this());
  switch (definition.type) {
    case LevelSettingDefinition::Choice: {
      auto control = std::make_shared<BVLSegmentedControl>(
          choiceFrame(widgetFrame, definition.names.size()), definition.names,
          [definition, player, db, level, playerKey](BVLSegmentedControl&, long position) {
            writeOrExplain([&] { storeChoice(definition, position, *db, level, player, playerKey); });
          });
      control->setSelectedSegmentIndex(segmentShowing(definition, level->numberForKey(definition.setting).intValue()));
      return control;
    }
    case LevelSettingDefinition::WholeNumber: {
      auto field =
          std::make_shared<BVLTextField>(widgetFrame, [definition, level, db](BVLTextField&, const std::string& text) {
            writeOrExplain([&] {
              level->setValueForKey(TBKNumberTag::intTag(definition.setting, WholeNumberFromText<int32_t>(text)));
              db->setLevelData(level);
            });
          });
      char shown[16];
      std::snprintf(shown, sizeof shown, "%d", level->numberForKey(definition.setting).intValue());
      field->setText(shown);
      return field;
    }
    case LevelSettingDefinition::Text: {
      auto field =
          std::make_shared<BVLTextField>(widgetFrame, [definition, level, db](BVLTextField&, const std::string& text) {
            writeOrExplain([&] {
              level->setValueForKey(std::make_shared<TBKStringTag>(definition.setting, text));
              db->setLevelData(level);
            });
          });
      field->setText(level->stringForKey(definition.setting));
      return field;
    }
    case LevelSettingDefinition::InventoryButton: {
      auto button = std::make_shared<BVLButton>(widgetFrame, [db, player, playerKey, weakCell](BVLButton&) {
        auto cell = weakCell.lock();
        if (!cell) return;
        if (auto tree = playerOrExplain(db, player))
          cell->push(std::make_shared<InventoryViewController>(std::make_shared<EquipmentRecord>(db, tree, playerKey)));
      });
      button->setTitle("Edit...", ui::ControlState::Normal);
      return button;
    }
    case LevelSettingDefinition::ArmorButton: {
      // The armor screen reads the player itself; ask first so that a world
      // without one gets its explanation here rather than an empty screen.
      auto button = std::make_shared<BVLButton>(widgetFrame, [db, player, playerKey, weakCell](BVLButton&) {
        auto cell = weakCell.lock();
        if (!cell) return;
        if (playerOrExplain(db, player)) cell->push(std::make_shared<ArmorViewController>(db, playerKey));
      });
      button->setTitle("Edit...", ui::ControlState::Normal);
      return button;
    }
    case LevelSettingDefinition::BackupsButton: {
      auto button = std::make_shared<BVLButton>(widgetFrame, [db, weakCell](BVLButton&) {
        if (auto cell = weakCell.lock()) cell->push(BackupsTableViewController::forWorld(db));
      });
      button->setTitle("Restore...", ui::ControlState::Normal);
      return button;
    }
    case LevelSettingDefinition::LevelTreeButton:
    case LevelSettingDefinition::PlayerTreeButton: {
      bool ofLevel = definition.type == LevelSettingDefinition::LevelTreeButton;
      auto button = std::make_shared<BVLButton>(widgetFrame, [db, player, playerKey, weakCell, ofLevel](BVLButton&) {
        auto cell = weakCell.lock();
        if (!cell) return;
        if (ofLevel) {
          writeOrExplain([&] { cell->push(TagTreeViewController::forLevel(db)); });
        } else if (auto tree = playerOrExplain(db, player)) {
          cell->push(TagTreeViewController::forPlayer(db, playerKey, tree));
        }
      });
      button->setTitle("Edit...", ui::ControlState::Normal);
      return button;
    }
    default:
      return makePlayerRowView(definition, db, level, player, playerKey);
  }
}

// Onto the navigation stack at the root of the cell's window.
void LevelTableViewCell::push(const std::shared_ptr<ui::ViewController>& screen) {
  ui::Window* window = this->window();
  auto navigation =
      window ? std::dynamic_pointer_cast<ui::NavigationController>(window->rootViewController()) : nullptr;
  if (navigation) navigation->pushViewController(screen, true);
}

// The rows of today's worlds: a player's own tags, and the way to the other
// players. `player` is never null here: the screens make these rows only for
// a player they have read.
std::shared_ptr<ui::View> LevelTableViewCell::makePlayerRowView(const LevelSettingDefinition& definition,
                                                                const std::shared_ptr<TBKLevelDB>& db,
                                                                const std::shared_ptr<TBKCompoundTag>& level,
                                                                const std::shared_ptr<TBKCompoundTag>& player,
                                                                const std::string& playerKey) {
  ui::Rect widgetFrame(frame().width() - 220, 5, 200, 36);
  std::weak_ptr<LevelTableViewCell> weakCell = std::static_pointer_cast<LevelTableViewCell>(shared_from_this());
  switch (definition.type) {
    case LevelSettingDefinition::PlayerChoice: {
      if (!player) return nullptr;
      auto control = std::make_shared<BVLSegmentedControl>(
          choiceFrame(widgetFrame, definition.names.size()), definition.names,
          [definition, db, level, player, playerKey, weakCell](BVLSegmentedControl&, long position) {
            writeOrExplain([&] {
              player->setValueForKey(TBKNumberTag::intTag(definition.setting, segmentValue(definition, position)));
              if (definition.setting == "PlayerGameMode") {
                gamemode::writeAbilities(*player, gamemode::effectiveMode(*level, *player));
              }
              db->setPlayerForKey(playerKey, player);
            });
            reloadTableLater(weakCell);
          });
      int32_t value = definition.setting == "PlayerGameMode" ? gamemode::playerMode(*player)
                                                             : player->numberForKey(definition.setting).intValue();
      control->setSelectedSegmentIndex(segmentShowing(definition, value));
      return control;
    }
    case LevelSettingDefinition::PlayerWholeNumber: {
      if (!player) return nullptr;
      auto field = std::make_shared<BVLTextField>(
          widgetFrame, [definition, db, player, playerKey](BVLTextField&, const std::string& text) {
            writeOrExplain([&] {
              player->setValueForKey(TBKNumberTag::intTag(definition.setting, WholeNumberFromText<int32_t>(text)));
              db->setPlayerForKey(playerKey, player);
            });
          });
      field->setText(std::to_string(player->numberForKey(definition.setting).intValue()));
      return field;
    }
    case LevelSettingDefinition::EnderChestButton:
    case LevelSettingDefinition::OffhandButton: {
      if (!player) return nullptr;
      bool chest = definition.type == LevelSettingDefinition::EnderChestButton;
      auto button = std::make_shared<BVLButton>(widgetFrame, [db, player, playerKey, chest, weakCell](BVLButton&) {
        auto cell = weakCell.lock();
        if (!cell) return;
        auto record = std::make_shared<EquipmentRecord>(db, player, playerKey);
        if (chest) return cell->push(std::make_shared<InventoryViewController>(record, "EnderChestInventory"));
        // The one entry of the offhand, in the item editor.
        if (auto offhand = player->listForKey("Offhand"); offhand && offhand->count() > 0) {
          cell->push(std::make_shared<ItemViewController>(record, offhand, 0));
        }
      });
      button->setTitle("Edit...", ui::ControlState::Normal);
      return button;
    }
    case LevelSettingDefinition::PlayersButton: {
      auto button = std::make_shared<BVLButton>(widgetFrame, [db, weakCell](BVLButton&) {
        if (auto cell = weakCell.lock()) cell->push(std::make_shared<PlayersTableViewController>(db));
      });
      button->setTitle("Edit...", ui::ControlState::Normal);
      return button;
    }
    default:
      return nullptr;
  }
}
