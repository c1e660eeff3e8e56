#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

// The tag types of little-endian NBT, numbered as on disk.
enum class TBKTagType : uint8_t {
  End = 0,
  Byte = 1,
  Short = 2,
  Int = 3,
  Long = 4,
  Float = 5,
  Double = 6,
  ByteArray = 7,
  String = 8,
  List = 9,
  Compound = 10,
  IntArray = 11,
  LongArray = 12,
};

// "TAG_Byte", "TAG_Compound", ...; "TAG_Unknown" for a value outside the enum.
const char* TBKTagTypeName(TBKTagType type);

// Opens the constructors only the reader uses: they trust what it has already
// checked (a number fits its type, a list's entries are of its type) and take
// the name as a view into the input, so a tag is made in one step.
struct TBKReadKey;

// A named, typed value. Tags are shared (std::shared_ptr) and, apart from
// the children of compounds and lists, never change once made: a value is
// changed by storing a new tag under the same name.
class TBKTag {
 public:
  virtual ~TBKTag() = default;
  TBKTag(const TBKTag&) = delete;
  TBKTag& operator=(const TBKTag&) = delete;

  // The name a compound stores this tag under; list entries carry "".
  const std::string& name() const { return name_; }
  TBKTagType type() const { return type_; }

 protected:
  TBKTag(std::string name, TBKTagType type) : name_(std::move(name)), type_(type) {}
  TBKTag(std::string_view name, TBKTagType type) : name_(name), type_(type) {}

 private:
  // A compound renames a tag it is asked to store under another key, so
  // the key and the written name can never disagree.
  friend class TBKCompoundTag;
  // The reader sets the name in place once the tag is made: passing it
  // through the constructors moved it three times per tag.
  friend struct TBKTagBuilder;

  std::string name_;
  TBKTagType type_;
};
