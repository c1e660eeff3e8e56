#include "Tarnbook/TBKTag.h"

#include <cstring>
#include <limits>

#include "Tarnbook/TBKException.h"

TBKTag::TBKTag(std::string_view name, TBKTagType type) : type_(type) { rename(name); }

void TBKTag::rename(std::string_view name) {
  if (name.size() > std::numeric_limits<uint32_t>::max()) {
    throw TBKException(TBKException::Kind::Usage,
                       "A tag name of " + std::to_string(name.size()) + " bytes is too long to keep.");
  }
  // Copied before the old name goes: name may be a view of it.
  char* copy = name.empty() ? nullptr : new char[name.size()];
  if (copy) std::memcpy(copy, name.data(), name.size());
  if (ownsName_) delete[] name_;
  name_ = copy;
  nameSize_ = static_cast<uint32_t>(name.size());
  ownsName_ = copy != nullptr;
}

const char* TBKTagTypeName(TBKTagType type) {
  switch (type) {
    case TBKTagType::End:
      return "TAG_End";
    case TBKTagType::Byte:
      return "TAG_Byte";
    case TBKTagType::Short:
      return "TAG_Short";
    case TBKTagType::Int:
      return "TAG_Int";
    case TBKTagType::Long:
      return "TAG_Long";
    case TBKTagType::Float:
      return "TAG_Float";
    case TBKTagType::Double:
      return "TAG_Double";
    case TBKTagType::ByteArray:
      return "TAG_Byte_Array";
    case TBKTagType::String:
      return "TAG_String";
    case TBKTagType::List:
      return "TAG_List";
    case TBKTagType::Compound:
      return "TAG_Compound";
    case TBKTagType::IntArray:
      return "TAG_Int_Array";
    case TBKTagType::LongArray:
      return "TAG_Long_Array";
  }
  return "TAG_Unknown";
}
