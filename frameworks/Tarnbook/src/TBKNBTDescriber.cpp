// TBKNBT's description of a tag tree, for logs and the world dump tool.
#include <cstdio>

#include "Quoted.h"
#include "Tarnbook/TBKByteArrayTag.h"
#include "Tarnbook/TBKIntArrayTag.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKLongArrayTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"

namespace {

void describeInto(const TBKTag& tag, int indent, std::string& out) {
  out.append(static_cast<size_t>(indent) * 2, ' ');
  out += TBKTagTypeName(tag.type());
  out += " " + tbk::quoted(tag.name()) + ": ";
  switch (tag.type()) {
    case TBKTagType::Byte:
    case TBKTagType::Short:
    case TBKTagType::Int:
    case TBKTagType::Long:
      out += std::to_string(static_cast<const TBKNumberTag&>(tag).value().longLongValue());
      break;
    case TBKTagType::Float:
    case TBKTagType::Double: {
      char text[64];
      std::snprintf(text, sizeof text, "%.17g", static_cast<const TBKNumberTag&>(tag).value().doubleValue());
      out += text;
      break;
    }
    case TBKTagType::String:
      out += "\"" + static_cast<const TBKStringTag&>(tag).value() + "\"";
      break;
    case TBKTagType::ByteArray:
      out += std::to_string(static_cast<const TBKByteArrayTag&>(tag).value().size()) + " bytes";
      break;
    case TBKTagType::IntArray:
      out += std::to_string(static_cast<const TBKIntArrayTag&>(tag).value().size()) + " ints";
      break;
    case TBKTagType::LongArray:
      out += std::to_string(static_cast<const TBKLongArrayTag&>(tag).value().size()) + " longs";
      break;
    case TBKTagType::List: {
      const auto& list = static_cast<const TBKListTag&>(tag);
      out += std::to_string(list.count()) + " entries of " + TBKTagTypeName(list.elementType()) + "\n";
      for (const auto& entry : list.value()) describeInto(*entry, indent + 1, out);
      return;
    }
    case TBKTagType::Compound: {
      const auto& compound = static_cast<const TBKCompoundTag&>(tag);
      out += std::to_string(compound.count()) + " entries\n";
      for (const auto& child : compound.value()) describeInto(*child, indent + 1, out);
      return;
    }
    case TBKTagType::End:
      break;
  }
  out += "\n";
}

}  // namespace

std::string TBKNBT::describe(const TBKTag& tag) {
  std::string out;
  describeInto(tag, 0, out);
  return out;
}
