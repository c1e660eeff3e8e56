#pragma once

#include <cstddef>
#include <string_view>

#include "Tarnbook/TBKEntity.h"

namespace tbk {

// What a list shows of an entity, read straight from its NBT bytes: the
// tags a row needs are decoded and every other tag is stepped over without
// being made, so a world of thousands of creatures lists without building
// their trees. It refuses exactly what TBKNBT's reader refuses (a length
// past the bytes left, a negative length, an unknown type, nesting or tags
// past TBKNBT's bounds) and, like TBKCompoundTag's lookups, takes the first
// tag of a name. Raises TBKException (Format) for damage; the message is
// brief, since a caller wanting the reader's own words asks the reader.
//
// Reads one compound from the front of bytes; *consumed (if given) is the
// number of bytes it took.
TBKEntity::Summary scanEntity(std::string_view bytes, size_t* consumed = nullptr);

}  // namespace tbk
