#pragma once

#include <cstddef>

#include "Tarnbook/TBKTag.h"

namespace tbk {

// The fewest bytes one list entry of a type can take: the tree reader and
// the listing's scanner both refuse with it a count the bytes left cannot
// hold, before anything is made for it, so they refuse alike.
inline size_t smallestPayload(TBKTagType type) {
  switch (type) {
    case TBKTagType::Byte:
      return 1;
    case TBKTagType::Short:
    case TBKTagType::String:
      return 2;
    case TBKTagType::Int:
    case TBKTagType::Float:
    case TBKTagType::ByteArray:
    case TBKTagType::IntArray:
    case TBKTagType::LongArray:
      return 4;
    case TBKTagType::Long:
    case TBKTagType::Double:
      return 8;
    case TBKTagType::List:
      return 5;
    case TBKTagType::Compound:
      return 1;
    case TBKTagType::End:
      return 0;
  }
  return 0;
}

}  // namespace tbk
