#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class TBKCompoundTag;

// A chunk's block-entities value, its NBT roots one after another, changed
// as bytes: apart from the database, so the fuzzer builds it alone.
namespace tbk {

// value with root `index` replaced by root and every other byte kept;
// raises TBKException (Format) when value is damaged or has no such root
// or (when before is given) that root's bytes are not before.
std::string replacedRoot(std::string_view value, size_t index, const TBKCompoundTag& root,
                         const std::string* before = nullptr);

}  // namespace tbk
