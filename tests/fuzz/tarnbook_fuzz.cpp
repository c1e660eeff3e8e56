// libFuzzer target for the readers of untrusted bytes: NBT records and
// level.dat files. Beyond not crashing, whatever a reader accepts must be
// written back as exactly the bytes it read; anything else is a fault.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelFile.h"
#include "Tarnbook/TBKNBT.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);

  std::shared_ptr<TBKTag> tag;
  size_t consumed = 0;
  try {
    tag = TBKNBT::parse(bytes, &consumed);
  } catch (const TBKException&) {}
  if (tag) {
    if (consumed > size || TBKNBT::serialise(*tag) != bytes.substr(0, consumed)) std::abort();
    (void)TBKNBT::describe(*tag);
  }

  std::string rewritten;
  bool accepted = false;
  try {
    rewritten = TBKLevelFile::parse(bytes).serialise();
    accepted = true;
  } catch (const TBKException&) {}
  if (accepted && rewritten != bytes) std::abort();
  return 0;
}
