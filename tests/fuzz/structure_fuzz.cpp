// libFuzzer target for the reader of .mcstructure files, the bytes a user
// hands a root process to store in a world. Beyond not crashing: a file
// taken as a structure is taken again once written back out, as it would be
// when exported and imported.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKStructures.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (!TBKStructures::shapeProblem(bytes).empty()) return 0;
  try {
    std::string again = TBKNBT::serialise(*TBKNBT::parseCompound(bytes));
    if (!TBKStructures::shapeProblem(again).empty()) std::abort();
  } catch (const TBKException&) {
    std::abort();
  }
  return 0;
}
