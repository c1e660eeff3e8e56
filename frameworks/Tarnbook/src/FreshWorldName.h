#pragma once

#include <string>

namespace tbk {

// A folder name for a new world as the game makes them: 12 characters of
// base64 ("bW9kZXJuAA==" is the game's kind), here of random bytes and with
// "-" and "_" for the "+" and "/" a file name cannot hold.
std::string freshWorldFolderName();

}  // namespace tbk
