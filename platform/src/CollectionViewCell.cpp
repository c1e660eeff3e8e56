#include "ui/CollectionViewCell.h"

namespace ui {

// The collection view gives the cell its reuse identifier when it makes it.
CollectionViewCell::CollectionViewCell(const Rect& frame) : SelectableCell(frame, std::string()) {}

CollectionViewCell::~CollectionViewCell() = default;

void CollectionViewCell::setSelected(bool selected) { showSelected(selected); }

void CollectionViewCell::setHighlighted(bool highlighted) { showHighlighted(highlighted); }

}  // namespace ui
