#pragma once

#include <string>
#include <string_view>

// A file a user asks for by its path (a map's picture): written whole and
// atomically through the same checks as the game's files, so it is made
// only where the real user could make it, never through a link, and is
// theirs. Failures raise TBKException (File) naming the path and reason.
class TBKOutputFile {
 public:
  static void write(const std::string& path, std::string_view bytes);
};
