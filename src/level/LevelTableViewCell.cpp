#include "level/LevelTableViewCell.h"

#include <algorithm>

#include "ui/Font.h"

namespace {

// A choice of more than two segments widens to the left, up to 70 points a
// segment, so that "Adventure" and "Spectator" keep a readable size.
ui::Rect choiceFrame(const ui::Rect& standard, size_t segments) {
  if (segments <= 2) return standard;
  double width = std::min(70.0 * double(segments), standard.maxX() - 180);
  return ui::Rect(standard.maxX() - width, standard.y(), width, standard.height());
}

std::shared_ptr<BVLLabel> makeLabel(const std::string& text, const ui::Font& font, double y) {
  ui::Size size = font.measure(text);
  auto label = std::make_shared<BVLLabel>(ui::Rect(40, y, size.width, size.height));
  label->setFont(font);
  label->setText(text);
  label->setStyle(BVLLabel::DetailStyle);
  return label;
}

}  // namespace

LevelTableViewCell::LevelTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : ui::TableViewCell(style, reuseIdentifier) {}

void LevelTableViewCell::makeReadyWithDefinition(const LevelSettingDefinition& definition,
                                                 const LevelRowBinding& binding) {
  setBackgroundColor(ui::Color::clear());
  for (auto* view : {&nameLabel, &noteLabel}) {
    if (*view) (*view)->removeFromSuperview();
    view->reset();
  }
  nameLabel = makeLabel(definition.name, ui::Font::named("Minecraft", 16), 15);
  addSubview(nameLabel);
  if (!binding.note.empty()) {
    noteLabel = makeLabel(binding.note, ui::Font::named("Minecraft", 8), 33);
    addSubview(noteLabel);
  }
  if (settingView) settingView->removeFromSuperview();
  settingView = makeSettingView(definition, binding);
  if (settingView) addSubview(settingView);
}

std::shared_ptr<ui::View> LevelTableViewCell::makeSettingView(const LevelSettingDefinition& definition,
                                                              const LevelRowBinding& binding) {
  // 200 points wide, 20 from the right edge, centred in the 46-point row.
  ui::Rect widgetFrame(frame().width() - 220, 5, 200, 36);
  switch (definition.kind) {
    case LevelRowKind::Choice:
    case LevelRowKind::PlayerChoice: {
      if (!binding.choose) return nullptr;
      auto control = std::make_shared<BVLSegmentedControl>(
          choiceFrame(widgetFrame, definition.names.size()), definition.names,
          [choose = binding.choose](BVLSegmentedControl&, long segment) { choose(segment); });
      control->setSelectedSegmentIndex(binding.segment);
      return control;
    }
    case LevelRowKind::Text:
    case LevelRowKind::WholeNumber:
    case LevelRowKind::PlayerWholeNumber: {
      if (!binding.type) return nullptr;
      auto field = std::make_shared<BVLTextField>(
          widgetFrame, [type = binding.type](BVLTextField&, const std::string& text) { type(text); });
      field->setText(binding.text);
      return field;
    }
    default: {
      if (!binding.open) return nullptr;
      auto button = std::make_shared<BVLButton>(widgetFrame, [open = binding.open](BVLButton&) { open(); });
      std::string title =
          definition.kind == LevelRowKind::BackupsButton    ? "Restore..."
          : definition.kind == LevelRowKind::MapButton      ? "Open..."
          : definition.kind == LevelRowKind::FindItemButton ? "Find..."
          : definition.kind == LevelRowKind::ExportButton || definition.kind == LevelRowKind::StructuresButton
              ? "Export..."
              : "Edit...";
      button->setTitle(binding.button.empty() ? title : binding.button, ui::ControlState::Normal);
      return button;
    }
  }
}
