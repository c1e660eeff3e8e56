#include "Tarnbook/TBKTag.h"

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
