#include "WorldReader.h"

#include <bit>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "GameDatabase.h"

namespace {

[[noreturn]] void fail(const std::string& what) { throw std::runtime_error("WorldReader: " + what); }

class Cursor {
 public:
  explicit Cursor(std::string_view bytes) : bytes_(bytes) {}

  bool atEnd() const { return at_ == bytes_.size(); }
  size_t offset() const { return at_; }

  uint64_t unsignedLE(size_t width) {
    need(width);
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i) value |= uint64_t(uint8_t(bytes_[at_ + i])) << (8 * i);
    at_ += width;
    return value;
  }
  int64_t signedLE(size_t width) {
    uint64_t value = unsignedLE(width);
    if (width < 8 && (value >> (8 * width - 1)) & 1) value |= ~uint64_t(0) << (8 * width);
    return int64_t(value);
  }
  std::string text() {
    size_t length = unsignedLE(2);
    need(length);
    std::string out(bytes_.substr(at_, length));
    at_ += length;
    return out;
  }
  int32_t count() {
    int64_t n = signedLE(4);
    if (n < 0) fail("negative length at byte " + std::to_string(at_ - 4));
    return int32_t(n);
  }

 private:
  void need(size_t n) const {
    if (bytes_.size() - at_ < n) fail("input ends at byte " + std::to_string(bytes_.size()) + " inside a tag");
  }
  std::string_view bytes_;
  size_t at_ = 0;
};

void readValue(Cursor& in, TestTag& tag, int depth);

void readPayload(Cursor& in, TestTag& tag, int depth) {
  tag.payloadOffset = in.offset();
  readValue(in, tag, depth);
  tag.payloadSize = in.offset() - tag.payloadOffset;
}

void readValue(Cursor& in, TestTag& tag, int depth) {
  if (depth > 512) fail("nesting deeper than 512");
  switch (tag.type) {
    case TestTag::Byte:
      tag.integer = in.signedLE(1);
      break;
    case TestTag::Short:
      tag.integer = in.signedLE(2);
      break;
    case TestTag::Int:
      tag.integer = in.signedLE(4);
      break;
    case TestTag::Long:
      tag.integer = in.signedLE(8);
      break;
    case TestTag::Float: {
      uint32_t bits = uint32_t(in.unsignedLE(4));
      float value;
      std::memcpy(&value, &bits, 4);
      tag.floating = value;
      break;
    }
    case TestTag::Double: {
      uint64_t bits = in.unsignedLE(8);
      std::memcpy(&tag.floating, &bits, 8);
      break;
    }
    case TestTag::String:
      tag.text = in.text();
      break;
    case TestTag::ByteArray:
    case TestTag::IntArray:
    case TestTag::LongArray: {
      size_t width = tag.type == TestTag::ByteArray ? 1 : tag.type == TestTag::IntArray ? 4 : 8;
      for (int32_t n = in.count(); n > 0; --n) tag.numbers.push_back(in.signedLE(width));
      break;
    }
    case TestTag::List: {
      tag.elementType = TestTag::Type(in.unsignedLE(1));
      for (int32_t n = in.count(); n > 0; --n) {
        TestTag entry;
        entry.type = tag.elementType;
        readPayload(in, entry, depth + 1);
        tag.children.push_back(std::move(entry));
      }
      break;
    }
    case TestTag::Compound:
      for (;;) {
        auto type = TestTag::Type(in.unsignedLE(1));
        if (type == TestTag::End) break;
        TestTag child;
        child.type = type;
        child.name = in.text();
        readPayload(in, child, depth + 1);
        tag.children.push_back(std::move(child));
      }
      break;
    default:
      fail("unknown tag type " + std::to_string(int(tag.type)) + " before byte " + std::to_string(in.offset()));
  }
}

// LevelDB's own log and table files, copied so that opening (which may
// recover the log into a new table) leaves the world untouched.
class DatabaseCopy {
 public:
  explicit DatabaseCopy(const std::filesystem::path& worldFolder) {
    auto source = worldFolder / "db";
    if (!std::filesystem::is_directory(source)) fail(source.string() + " is not a folder");
    std::string pattern = (std::filesystem::temp_directory_path() / "worldreader.XXXXXX").string();
    if (!mkdtemp(pattern.data())) fail("cannot make a temporary folder");
    folder_ = pattern;
    for (auto& entry : std::filesystem::directory_iterator(source)) {
      if (entry.path().filename() == "LOCK") continue;
      std::filesystem::copy_file(entry.path(), folder_ / entry.path().filename());
    }
    db_ = gamedatabase::open(folder_);
  }
  ~DatabaseCopy() {
    db_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  leveldb::DB& db() { return *db_; }

 private:
  std::filesystem::path folder_;
  std::unique_ptr<leveldb::DB> db_;
};

}  // namespace

bool TestTag::operator==(const TestTag& other) const {
  return type == other.type && name == other.name && integer == other.integer &&
         std::bit_cast<uint64_t>(floating) == std::bit_cast<uint64_t>(other.floating) && text == other.text &&
         elementType == other.elementType && children == other.children && numbers == other.numbers;
}

const TestTag* TestTag::find(std::string_view path) const {
  const TestTag* at = this;
  while (!path.empty()) {
    size_t slash = path.find('/');
    std::string_view step = path.substr(0, slash);
    path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    const TestTag* next = nullptr;
    if (at->type == Compound) {
      for (auto& child : at->children) {
        if (child.name == step) {
          next = &child;
          break;
        }
      }
    } else if (at->type == List) {
      size_t index = 0;
      bool digits = !step.empty();
      for (char c : step) {
        digits = digits && c >= '0' && c <= '9';
        index = index * 10 + size_t(c - '0');
      }
      if (digits && index < at->children.size()) next = &at->children[index];
    }
    if (!next) return nullptr;
    at = next;
  }
  return at;
}

int64_t TestTag::number(std::string_view path) const {
  const TestTag* tag = find(path);
  if (!tag) fail("no tag at " + std::string(path));
  if (tag->type < Byte || tag->type > Long) fail("the tag at " + std::string(path) + " is not an integer");
  return tag->integer;
}

const std::string& TestTag::string(std::string_view path) const {
  const TestTag* tag = find(path);
  if (!tag) fail("no tag at " + std::string(path));
  if (tag->type != String) fail("the tag at " + std::string(path) + " is not a string");
  return tag->text;
}

const std::vector<TestTag>& TestTag::list(std::string_view path) const {
  const TestTag* tag = find(path);
  if (!tag) fail("no tag at " + std::string(path));
  if (tag->type != List) fail("the tag at " + std::string(path) + " is not a list");
  return tag->children;
}

namespace worldreader {

TestTag parseNBT(std::string_view bytes) {
  Cursor in(bytes);
  TestTag root;
  root.type = TestTag::Type(in.unsignedLE(1));
  if (root.type != TestTag::Compound)
    fail("the root tag is of type " + std::to_string(int(root.type)) + ", not a compound");
  root.name = in.text();
  readPayload(in, root, 0);
  if (!in.atEnd()) fail(std::to_string(bytes.size() - in.offset()) + " bytes follow the root tag");
  return root;
}

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) fail("cannot read " + file.string());
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

LevelDat readLevelDat(const std::filesystem::path& file) {
  std::string bytes = readFile(file);
  if (bytes.size() < 8) fail(file.string() + " is shorter than its header");
  Cursor header(std::string_view(bytes).substr(0, 8));
  LevelDat level;
  level.storageVersion = int32_t(header.signedLE(4));
  level.declaredLength = int32_t(header.signedLE(4));
  if (level.declaredLength < 0 || size_t(level.declaredLength) != bytes.size() - 8) {
    fail(file.string() + " announces " + std::to_string(level.declaredLength) + " bytes but holds " +
         std::to_string(bytes.size() - 8));
  }
  level.root = parseNBT(std::string_view(bytes).substr(8));
  return level;
}

std::optional<std::string> readDatabaseValue(const std::filesystem::path& worldFolder, const std::string& key) {
  DatabaseCopy copy(worldFolder);
  std::string value;
  leveldb::Status status = copy.db().Get(leveldb::ReadOptions(), key, &value);
  if (status.IsNotFound()) return std::nullopt;
  if (!status.ok()) fail("reading " + key + ": " + status.ToString());
  return value;
}

std::vector<std::string> databaseKeys(const std::filesystem::path& worldFolder) {
  DatabaseCopy copy(worldFolder);
  std::vector<std::string> keys;
  std::unique_ptr<leveldb::Iterator> it(copy.db().NewIterator(leveldb::ReadOptions()));
  for (it->SeekToFirst(); it->Valid(); it->Next()) keys.push_back(it->key().ToString());
  if (!it->status().ok()) fail("listing keys: " + it->status().ToString());
  return keys;
}

std::map<std::string, std::string> databaseContents(const std::filesystem::path& worldFolder) {
  DatabaseCopy copy(worldFolder);
  std::map<std::string, std::string> contents;
  std::unique_ptr<leveldb::Iterator> it(copy.db().NewIterator(leveldb::ReadOptions()));
  for (it->SeekToFirst(); it->Valid(); it->Next()) contents.emplace(it->key().ToString(), it->value().ToString());
  if (!it->status().ok()) fail("reading every record: " + it->status().ToString());
  return contents;
}

TestTag readPlayer(const std::filesystem::path& worldFolder) {
  if (std::filesystem::is_directory(worldFolder / "db")) {
    auto bytes = readDatabaseValue(worldFolder, "~local_player");
    if (!bytes) fail(worldFolder.string() + " has no ~local_player record");
    return parseNBT(*bytes);
  }
  LevelDat level = readLevelDat(worldFolder / "level.dat");
  const TestTag* player = level.root.find("Player");
  if (!player || player->type != TestTag::Compound) fail(worldFolder.string() + " has no Player compound");
  return *player;
}

std::string littleEndian(int64_t value, size_t width) {
  std::string out;
  for (size_t i = 0; i < width; ++i) out += char(uint64_t(value) >> (8 * i) & 0xff);
  return out;
}

std::string withPayload(std::string_view bytes, std::string_view path, std::string_view payload, bool levelDat) {
  size_t skip = levelDat ? 8 : 0;
  if (bytes.size() < skip) fail("level.dat is shorter than its header");
  TestTag root = parseNBT(bytes.substr(skip));
  const TestTag* tag = root.find(path);
  if (!tag) fail("no tag at " + std::string(path));
  std::string out(bytes);
  out.replace(skip + tag->payloadOffset, tag->payloadSize, payload);
  if (levelDat) out.replace(4, 4, littleEndian(int64_t(out.size() - 8), 4));
  return out;
}

}  // namespace worldreader
