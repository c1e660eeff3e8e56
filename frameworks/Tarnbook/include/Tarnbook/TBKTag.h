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
// the name as text the parse keeps, so a tag is made in one step.
struct TBKReadKey;

// A named, typed value. Tags are shared (std::shared_ptr) and, apart from
// the children of compounds and lists, never change once made: a value is
// changed by storing a new tag under the same name.
class TBKTag {
 public:
  virtual ~TBKTag() {
    if (ownsName_) delete[] name_;
  }
  TBKTag(const TBKTag&) = delete;
  TBKTag& operator=(const TBKTag&) = delete;

  // The name a compound stores this tag under; list entries carry "".
  std::string_view name() const { return {name_, nameSize_}; }
  TBKTagType type() const { return type_; }

 protected:
  // Keeps a copy of name. Names of 4 GB or more raise a TBKException
  // (UsageFailure); the writer refuses any over 65535 bytes anyway.
  TBKTag(std::string_view name, TBKTagType type);
  // The reader's: name is text its parse keeps for as long as any tag of
  // the tree lives, so the tag only points at it.
  TBKTag(const TBKReadKey&, std::string_view name, TBKTagType type)
      : name_(name.data()), nameSize_(static_cast<uint32_t>(name.size())), type_(type) {}

 private:
  // A compound renames a tag it is asked to store under another key, so
  // the key and the written name can never disagree.
  friend class TBKCompoundTag;
  void rename(std::string_view name);

  // A pointer and a length rather than a std::string: a tree read from
  // disk holds hundreds of thousands of names, and this halves what each
  // costs and copies nothing but the text.
  const char* name_ = nullptr;
  uint32_t nameSize_ = 0;
  TBKTagType type_;
  bool ownsName_ = false;
};
