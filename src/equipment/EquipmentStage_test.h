#pragma once

// What the equipment screens' tests share: a private copy of the demo game,
// a window with a navigation stack whose root stands for the level screen,
// one world's database and player tree as the level screen hands them on,
// and the world read back from disk with the tests' own reader.

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>

#include "DemoGame.h"
#include "WorldReader.h"
#include "external/Tarnbook.h"
#include "ui/Font.h"
#include "ui/Image.h"
#include "ui/NavigationController.h"
#include "ui/Screen.h"
#include "ui/TestDriver.h"
#include "ui/TextField.h"
#include "ui/Window.h"

struct EquipmentStage {
  DemoGame game;
  ui::TestDriver driver;
  std::shared_ptr<ui::Window> window;
  std::shared_ptr<ui::NavigationController> navigation = std::make_shared<ui::NavigationController>();
  std::shared_ptr<TBKLevelDB> db;
  std::shared_ptr<TBKCompoundTag> player;
  std::filesystem::path world;

  // "Lakeside Survival" holds 9 hotbar links and 36 items, and four pieces
  // of armor (306, 307, 300 and none).
  explicit EquipmentStage(double width = 568, double height = 320, const std::string& worldName = "Lakeside Survival") {
    ui::Screen::main().setBounds(ui::Rect(0, 0, width, height));
    GSFontAddFromFile((game.app() / "minecraft.ttf").c_str());
    window = std::make_shared<ui::Window>(ui::Screen::main().bounds());
    auto levelScreen = std::make_shared<ui::ViewController>();
    levelScreen->setTitle(worldName);
    navigation->addChildViewController(levelScreen);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    driver.runUntilIdle();
    db = TBKLevelDB::dbForWorldNamed(worldName);
    player = db->player();
    world = game.gameDataFolder() / "minecraftWorlds" / worldName;
  }

  // Test set-up through the library; the checks read the disk.
  void changePlayer(const std::function<void(TBKCompoundTag&)>& change) {
    change(*player);
    db->setPlayer(player);
  }

  void push(const std::shared_ptr<ui::ViewController>& screen) {
    navigation->pushViewController(screen, true);
    driver.runUntilIdle();
  }

  TestTag playerOnDisk() const { return worldreader::readPlayer(world); }

  // Writes of the player record so far: each one is a record in the
  // database's write-ahead log that carries the key.
  size_t playerWrites() const {
    const std::string key = "~local_player";
    size_t writes = 0;
    for (const auto& file : std::filesystem::directory_iterator(world / "db")) {
      if (file.path().extension() != ".log") continue;
      std::ifstream in(file.path(), std::ios::binary);
      std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      for (size_t at = bytes.find(key); at != std::string::npos; at = bytes.find(key, at + 1)) ++writes;
    }
    return writes;
  }

  // Replaces a field's text the way a user does, and ends the editing.
  void typeInto(ui::TextField& field, const std::string& text) {
    driver.tap(field);
    field.selectAll();
    if (text.empty()) {
      driver.pressKeys(*window, "Backspace");
      driver.pressReturn(*window);
    } else {
      driver.type(*window, text);
    }
    driver.runUntilIdle();
  }
};

// The same picture: same size and the same pixels.
inline bool samePicture(const std::shared_ptr<ui::Image>& a, const std::shared_ptr<ui::Image>& b) {
  if (!a || !b) return a == b;
  if (a->pixelWidth() != b->pixelWidth() || a->pixelHeight() != b->pixelHeight()) return false;
  for (int y = 0; y < a->pixelHeight(); ++y) {
    for (int x = 0; x < a->pixelWidth(); ++x) {
      if (a->pixel(x, y) != b->pixel(x, y)) return false;
    }
  }
  return true;
}
