#include "level/LevelTableViewCell.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>

#include "equipment/ArmorViewController.h"
#include "equipment/InventoryViewController.h"
#include "tree/TagTreeViewController.h"
#include "ui/AlertView.h"
#include "ui/Font.h"
#include "ui/NavigationController.h"
#include "ui/Window.h"

namespace {

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

void storeChoice(const LevelSettingDefinition& definition, long position, TBKLevelDB& db,
                 const std::shared_ptr<TBKCompoundTag>& level, const std::shared_ptr<TBKCompoundTag>& player) {
  auto tag = TBKNumberTag::intTag(definition.setting, int32_t(position));
  // The game type decides what the player may do; the player goes first so
  // that a level saying "creative" never meets a player who cannot fly.
  if (definition.setting == "GameType" && player) {
    if (auto abilities = player->compoundForKey("abilities")) {
      auto allowed = int8_t(position & 0xff);
      abilities->setValueForKey(TBKNumberTag::byteTag("mayfly", allowed));
      abilities->setValueForKey(TBKNumberTag::byteTag("invulnerable", allowed));
      abilities->setValueForKey(TBKNumberTag::byteTag("instabuild", allowed));
      abilities->setValueForKey(TBKNumberTag::byteTag("flying", 0));
    }
    db.setPlayer(player);
  }
  level->setValueForKey(tag);
  db.setLevelData(level);
}

}  // namespace

LevelTableViewCell::LevelTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : ui::TableViewCell(style, reuseIdentifier) {}

int32_t LevelTableViewCell::wholeNumberFromText(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr int64_t limit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
  int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = std::min(limit, magnitude * 10 + (text[i] - '0'));
  }
  int64_t value = negative ? -magnitude : magnitude;
  return int32_t(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

void LevelTableViewCell::makeReadyWithDefinition(const LevelSettingDefinition& definition,
                                                 const std::shared_ptr<TBKLevelDB>& db,
                                                 const std::shared_ptr<TBKCompoundTag>& level,
                                                 const std::shared_ptr<TBKCompoundTag>& player) {
  if (nameLabel) nameLabel->removeFromSuperview();
  setBackgroundColor(ui::Color::clear());
  ui::Size size = ui::Font::named("Minecraft", 16).measure(definition.name);
  nameLabel = std::make_shared<BVLLabel>(ui::Rect(40, 15, size.width, size.height));
  nameLabel->setText(definition.name);
  nameLabel->setStyle(BVLLabel::DetailStyle);
  addSubview(nameLabel);

  if (settingView) settingView->removeFromSuperview();
  settingView = makeSettingView(definition, db, level, player);
  if (settingView) addSubview(settingView);
}

std::shared_ptr<ui::View> LevelTableViewCell::makeSettingView(const LevelSettingDefinition& definition,
                                                              const std::shared_ptr<TBKLevelDB>& db,
                                                              const std::shared_ptr<TBKCompoundTag>& level,
                                                              const std::shared_ptr<TBKCompoundTag>& player) {
  // 200 points wide, 20 from the right edge, centred in the 46-point row.
  ui::Rect widgetFrame(frame().width() - 220, 5, 200, 36);
  std::weak_ptr<LevelTableViewCell> weakCell = std::static_pointer_cast<LevelTableViewCell>(shared_from_this());

  switch (definition.type) {
    case LevelSettingDefinition::Choice: {
      auto control = std::make_shared<BVLSegmentedControl>(
          widgetFrame, definition.names, [definition, player, db, level](BVLSegmentedControl&, long position) {
            writeOrExplain([&] { storeChoice(definition, position, *db, level, player); });
          });
      control->setSelectedSegmentIndex(level->numberForKey(definition.setting).intValue());
      return control;
    }
    case LevelSettingDefinition::WholeNumber: {
      auto field =
          std::make_shared<BVLTextField>(widgetFrame, [definition, level, db](BVLTextField&, const std::string& text) {
            writeOrExplain([&] {
              level->setValueForKey(TBKNumberTag::intTag(definition.setting, wholeNumberFromText(text)));
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
      auto button = std::make_shared<BVLButton>(widgetFrame, [db, player, weakCell](BVLButton&) {
        auto cell = weakCell.lock();
        if (!cell) return;
        if (auto tree = playerOrExplain(db, player)) cell->push(std::make_shared<InventoryViewController>(db, tree));
      });
      button->setTitle("Edit...", ui::ControlState::Normal);
      return button;
    }
    case LevelSettingDefinition::ArmorButton: {
      // The armor screen reads the player itself; ask first so that a world
      // without one gets its explanation here rather than an empty screen.
      auto button = std::make_shared<BVLButton>(widgetFrame, [db, weakCell](BVLButton&) {
        auto cell = weakCell.lock();
        if (!cell) return;
        if (playerOrExplain(db, nullptr)) cell->push(std::make_shared<ArmorViewController>(db));
      });
      button->setTitle("Edit...", ui::ControlState::Normal);
      return button;
    }
    case LevelSettingDefinition::LevelTreeButton:
    case LevelSettingDefinition::PlayerTreeButton: {
      bool ofLevel = definition.type == LevelSettingDefinition::LevelTreeButton;
      auto button = std::make_shared<BVLButton>(widgetFrame, [db, player, weakCell, ofLevel](BVLButton&) {
        auto cell = weakCell.lock();
        if (!cell) return;
        if (ofLevel) {
          writeOrExplain([&] { cell->push(TagTreeViewController::forLevel(db)); });
        } else if (auto tree = playerOrExplain(db, player)) {
          cell->push(TagTreeViewController::forPlayer(db, tree));
        }
      });
      button->setTitle("Edit...", ui::ControlState::Normal);
      return button;
    }
    default:
      return nullptr;
  }
}

// Onto the navigation stack at the root of the cell's window.
void LevelTableViewCell::push(const std::shared_ptr<ui::ViewController>& screen) {
  ui::Window* window = this->window();
  auto navigation =
      window ? std::dynamic_pointer_cast<ui::NavigationController>(window->rootViewController()) : nullptr;
  if (navigation) navigation->pushViewController(screen, true);
}
