#include "records/TagTreeEdits.h"

#include <algorithm>
#include <memory>

#include "records/TagValueText.h"

namespace {

Outcome takenName(const TBKCompoundTag& compound, const std::string& name) {
  if (!compound.objectForKeyedSubscript(name)) return std::nullopt;
  return Refusal{"\"" + name + "\" is taken: the compound already holds a tag of that name."};
}

}  // namespace

const std::shared_ptr<TBKTag>& TagTreeEdits::tagAt(const Place& place) {
  if (place.parent->type() == TBKTagType::Compound) {
    return static_cast<const TBKCompoundTag&>(*place.parent).value().at(place.index);
  }
  return static_cast<const TBKListTag&>(*place.parent).value().at(place.index);
}

Outcome TagTreeEdits::refusalToChange(const Place& place) {
  if (place.parent->type() != TBKTagType::Compound) return std::nullopt;
  std::string_view name = tagAt(place)->name();
  const auto& children = static_cast<const TBKCompoundTag&>(*place.parent).value();
  if (std::count_if(children.begin(), children.end(), [&](const auto& child) { return child->name() == name; }) < 2) {
    return std::nullopt;
  }
  return Refusal{"The compound holds more than one tag named \"" + std::string(name) +
                 "\": they are left as they are, since a change could reach the wrong one."};
}

Outcome TagTreeEdits::refusalToRename(const Place& place) {
  if (place.parent->type() == TBKTagType::List) {
    return Refusal{"Entries of a list have no names: only tags in a compound can be renamed."};
  }
  return refusalToChange(place);
}

Outcome TagTreeEdits::setValue(TreeRecord& record, const Place& place, std::string_view text) {
  if (Outcome refused = refusalToChange(place)) return refused;
  std::shared_ptr<TBKTag> old = tagAt(place);
  if (text == TagValueText::valueText(*old)) return std::nullopt;
  TagValueText::Parsed parsed = TagValueText::parse(old->type(), old->name(), text);
  if (!parsed.tag) return Refusal{parsed.reason};
  if (place.parent->type() == TBKTagType::Compound) {
    auto& compound = static_cast<TBKCompoundTag&>(*place.parent);
    return record.change({[&compound, made = parsed.tag] { compound.setValueForKey(made); },
                          [&compound, old] { compound.setValueForKey(old); }});
  }
  auto& list = static_cast<TBKListTag&>(*place.parent);
  return record.change({[&list, made = parsed.tag, at = place.index] { list.setObjectAtIndexedSubscript(made, at); },
                        [&list, old, at = place.index] { list.setObjectAtIndexedSubscript(old, at); }});
}

Outcome TagTreeEdits::rename(TreeRecord& record, const Place& place, const std::string& name) {
  if (Outcome refused = refusalToRename(place)) return refused;
  auto& compound = static_cast<TBKCompoundTag&>(*place.parent);
  std::string from(tagAt(place)->name());
  if (name == from) return std::nullopt;
  if (Outcome refused = takenName(compound, name)) return refused;
  return record.change({[&compound, from, name] { compound.renameKey(from, name); },
                        [&compound, from, name] { compound.renameKey(name, from); }});
}

Outcome TagTreeEdits::addChild(TreeRecord& record, TBKCompoundTag& compound, TBKTagType type, const std::string& name) {
  if (name.empty()) return Refusal{"A new tag needs a name."};
  if (Outcome refused = takenName(compound, name)) return refused;
  auto tag = TagValueText::emptyTag(type, name);
  return record.change({[&compound, tag] { compound.insertValueAtIndex(tag, compound.count()); },
                        [&compound, name] { compound.removeObjectForKey(name); }});
}

Outcome TagTreeEdits::addEntry(TreeRecord& record, TBKListTag& list, TBKTagType type) {
  auto entry = TagValueText::emptyTag(type, "");
  // Emptied again, the list would keep the type just given: the copy puts
  // back the type it was read with as well as its entries.
  auto asRead = std::make_shared<TBKListTag>(list.name(), list.elementType(), list.value());
  return record.change({[&list, entry] { list.setObjectAtIndexedSubscript(entry, list.count()); },
                        [&list, asRead] { list.takeValueOf(*asRead); }});
}

Outcome TagTreeEdits::remove(TreeRecord& record, const Place& place) {
  if (Outcome refused = refusalToChange(place)) return refused;
  std::shared_ptr<TBKTag> tag = tagAt(place);
  if (place.parent->type() == TBKTagType::Compound) {
    auto& compound = static_cast<TBKCompoundTag&>(*place.parent);
    return record.change({[&compound, tag] { compound.removeObjectForKey(tag->name()); },
                          [&compound, tag, at = place.index] { compound.insertValueAtIndex(tag, at); }});
  }
  auto& list = static_cast<TBKListTag&>(*place.parent);
  return record.change({[&list, at = place.index] { list.removeObjectAtIndex(at); },
                        [&list, tag, at = place.index] { list.insertObjectAtIndex(tag, at); }});
}
