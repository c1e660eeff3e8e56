#pragma once

#include <string>

namespace bevel {

// The catalogue table (data/items.tsv), compiled into the library so the
// kit needs no file of its own at run time.
const std::string& itemTable();
// The enchantment table (data/enchantments.tsv), likewise.
const std::string& enchantmentTable();

}  // namespace bevel
