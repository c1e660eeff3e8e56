#include "records/OptionsFile.h"

#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKFileSource.h"
#include "Tarnbook/TBKGameFile.h"
#include "records/OptionsText.h"

namespace {

Refusal leftAsItWas(std::string reason) {
  // The file system's reasons are sentences of their own.
  if (reason.ends_with('.')) reason.pop_back();
  return Refusal{"options.txt was left as it was: " + reason + "."};
}

}  // namespace

std::optional<std::string> OptionsFile::value(const std::string& key, Edit edit) const {
  try {
    auto text = OptionsFile::gameFile().read();
    if (!text) return std::nullopt;
    return edit == Edit::Checked ? OptionsText::readableValue(*text, key) : OptionsText::valueForKey(*text, key);
  } catch (const TBKException&) {
    return std::nullopt;
  }
}

Outcome OptionsFile::write(const std::string& key, const std::string& value, Edit edit) const {
  try {
    TBKGameFile file = OptionsFile::gameFile();
    auto text = file.read();
    if (!text) return leftAsItWas("there is no options file");
    auto rewrite = edit == Edit::Checked ? OptionsText::rewritingValue(*text, key, value)
                                         : OptionsText::replacingValue(*text, key, value);
    if (!rewrite.text) return leftAsItWas(rewrite.refusal);
    file.backUpOnce();
    file.replace(*rewrite.text);
    return std::nullopt;
  } catch (const TBKException& error) {
    return leftAsItWas(error.reason());
  }
}

bool OptionsFile::isTodays() const {
  try {
    auto text = OptionsFile::gameFile().read();
    return text && OptionsText::isTodays(*text);
  } catch (const TBKException&) {
    return false;
  }
}

// Wherever the game is laid out: the phone's sandbox or a desktop launcher's
// com.mojang folder.
TBKGameFile OptionsFile::gameFile() { return TBKGameFile(TBKFileSource::sharedSource().optionsFile(), "options"); }
