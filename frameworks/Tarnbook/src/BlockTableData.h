#pragma once

#include <string_view>

namespace tbk {

// data/blocks.tsv, compiled into the library so a map needs no file of its
// own at run time.
std::string_view blockTableData();

}  // namespace tbk
