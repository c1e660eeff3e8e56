#pragma once

#include <optional>
#include <string>

#include "Tarnbook/TBKGameFile.h"
#include "records/Refusal.h"

// The game's options file (TBKFileSource's optionsFile()) as the options
// screen reads and changes it. It keeps nothing between calls: each one finds
// the file again and reads it whole, for the game or another tool may change
// it at any moment. Copies are interchangeable. No call raises.
class OptionsFile {
 public:
  // How a key is read and written.
  //   Early: the early game's way, kept as it always was: a value only from
  //     a file that is UTF-8 throughout, and a write that replaces the value's
  //     bytes in any such file (OptionsText::replacingValue).
  //   Checked: a value as far as the file can be read, and a write only into
  //     a file that is nothing but settings (OptionsText::rewritingValue).
  //     Today's files are long and edited by other tools too.
  enum class Edit { Early, Checked };

  // The value of key; none when there is no file, it cannot be read, or the
  // key is not found (or its value cannot be read).
  std::optional<std::string> value(const std::string& key, Edit edit) const;

  // Writes value under key, keeping every other byte of the file; the
  // file's first write of a run keeps a backup of it first. Returns nothing
  // when written, else a Refusal whose reason is one sentence saying that the
  // file was left as it was, and why: no file, the key gone, a value or a
  // file this edit does not write (then not even the backup is made), or the
  // file system's refusal (the file is replaced whole or not at all).
  Outcome write(const std::string& key, const std::string& value, Edit edit) const;

  // Whether the file is one of today's game; false when there is none or it
  // cannot be read.
  bool isTodays() const;

  // The file itself, found again on each call (the game may be laid out
  // elsewhere by then), with its backups.
  static TBKGameFile gameFile();
};
