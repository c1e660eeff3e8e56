// libFuzzer target for the reader of decoded pictures kept between starts,
// bytes from the user's own cache folder that a root process draws. The
// input is an entry said to be made from the file "the game's picture".
// Beyond not crashing: a picture taken is within the picture bound and is
// the entry it came from, byte for byte, when kept again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "DecodedPicture.h"
#include "ui/Image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string entry(reinterpret_cast<const char*>(data), size);
  const std::string source = "the game's picture";
  auto picture = ui::DecodedPicture::decode(entry, source, ui::Image::maximumPicturePixels);
  if (!picture) return 0;
  if (size_t(picture->width()) * size_t(picture->height()) > ui::Image::maximumPicturePixels) std::abort();
  if (ui::DecodedPicture::encode(*picture, source) != entry) std::abort();
  return 0;
}
