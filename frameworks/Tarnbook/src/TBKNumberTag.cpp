#include "Tarnbook/TBKNumberTag.h"

#include "Tarnbook/TBKException.h"

namespace {

TBKNumber narrowed(TBKTagType type, const TBKNumber& value) {
  switch (type) {
    case TBKTagType::Byte:
      return TBKNumber::integer(value.charValue());
    case TBKTagType::Short:
      return TBKNumber::integer(value.shortValue());
    case TBKTagType::Int:
      return TBKNumber::integer(value.intValue());
    case TBKTagType::Long:
      return TBKNumber::integer(value.longLongValue());
    case TBKTagType::Float:
      return value.kind() == TBKNumber::Kind::Float ? value : TBKNumber::floating(value.floatValue());
    case TBKTagType::Double:
      return value.kind() == TBKNumber::Kind::Double ? value : TBKNumber::doublePrecision(value.doubleValue());
    default:
      throw TBKException(TBKException::Kind::Usage,
                         std::string("A number tag cannot be of type ") + TBKTagTypeName(type) + ".");
  }
}

}  // namespace

TBKNumberTag::TBKNumberTag(std::string_view name, TBKTagType type, TBKNumber value)
    : TBKTag(name, type), value_(narrowed(type, value)) {}

std::shared_ptr<TBKNumberTag> TBKNumberTag::byteTag(std::string_view name, int8_t value) {
  return std::make_shared<TBKNumberTag>(name, TBKTagType::Byte, TBKNumber::integer(value));
}

std::shared_ptr<TBKNumberTag> TBKNumberTag::shortTag(std::string_view name, int16_t value) {
  return std::make_shared<TBKNumberTag>(name, TBKTagType::Short, TBKNumber::integer(value));
}

std::shared_ptr<TBKNumberTag> TBKNumberTag::intTag(std::string_view name, int32_t value) {
  return std::make_shared<TBKNumberTag>(name, TBKTagType::Int, TBKNumber::integer(value));
}

std::shared_ptr<TBKNumberTag> TBKNumberTag::longTag(std::string_view name, int64_t value) {
  return std::make_shared<TBKNumberTag>(name, TBKTagType::Long, TBKNumber::integer(value));
}

std::shared_ptr<TBKNumberTag> TBKNumberTag::floatTag(std::string_view name, float value) {
  return std::make_shared<TBKNumberTag>(name, TBKTagType::Float, TBKNumber::floating(value));
}

std::shared_ptr<TBKNumberTag> TBKNumberTag::doubleTag(std::string_view name, double value) {
  return std::make_shared<TBKNumberTag>(name, TBKTagType::Double, TBKNumber::doublePrecision(value));
}
