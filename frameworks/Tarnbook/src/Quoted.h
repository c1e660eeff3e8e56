#pragma once

#include <string>
#include <string_view>

namespace tbk {

// A name as the reasons of exceptions show it: in double quotes.
inline std::string quoted(std::string_view name) {
  std::string text;
  text.reserve(name.size() + 2);
  text += '"';
  text += name;
  text += '"';
  return text;
}

}  // namespace tbk
