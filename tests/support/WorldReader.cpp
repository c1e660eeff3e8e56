#include "WorldReader.h"

#include <algorithm>
#include <charconv>
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

// The value of `tag`, whose type and name are read, and where its bytes lie.
void readPayload(Cursor& in, TestTag& tag, int depth) {
  if (depth > 512) fail("nesting deeper than 512");
  // Bytes of a Byte, Short, Int, Long, Float and Double, and of an entry of
  // a ByteArray, IntArray and LongArray.
  constexpr size_t widths[] = {0, 1, 2, 4, 8, 4, 8, 1, 0, 0, 0, 4, 8};
  tag.payloadOffset = in.offset();
  if (tag.type == TestTag::End || tag.type > TestTag::LongArray) {
    fail("unknown tag type " + std::to_string(int(tag.type)) + " before byte " + std::to_string(in.offset()));
  } else if (tag.type <= TestTag::Long) {
    tag.integer = in.signedLE(widths[tag.type]);
  } else if (tag.type <= TestTag::Double) {
    in.unsignedLE(widths[tag.type]);
  } else if (tag.type == TestTag::String) {
    tag.text = in.text();
  } else if (tag.type != TestTag::List && tag.type != TestTag::Compound) {
    for (int32_t n = in.count(); n > 0; --n) in.unsignedLE(widths[tag.type]);
  } else if (tag.type == TestTag::List) {
    // Entries share the list's element type and have no names.
    tag.elementType = TestTag::Type(in.unsignedLE(1));
    for (int32_t n = in.count(); n > 0; --n) {
      TestTag& entry = tag.children.emplace_back();
      entry.type = tag.elementType;
      readPayload(in, entry, depth + 1);
    }
  } else {
    // A compound's children, each typed and named, run to an End byte.
    for (auto type = TestTag::Type(in.unsignedLE(1)); type != TestTag::End; type = TestTag::Type(in.unsignedLE(1))) {
      TestTag& child = tag.children.emplace_back();
      child.type = type;
      child.name = in.text();
      readPayload(in, child, depth + 1);
    }
  }
  tag.payloadSize = in.offset() - tag.payloadOffset;
}

// The tag at path when its type lies between lowest and highest.
const TestTag& typedTag(const TestTag& root, std::string_view path, TestTag::Type lowest, TestTag::Type highest,
                        const char* kind) {
  const TestTag* tag = root.find(path);
  if (!tag) fail("no tag at " + std::string(path));
  if (tag->type < lowest || tag->type > highest) fail("the tag at " + std::string(path) + " is not " + kind);
  return *tag;
}

}  // namespace

const TestTag* TestTag::find(std::string_view path) const {
  const TestTag* at = this;
  while (!path.empty()) {
    size_t slash = path.find('/');
    std::string_view step = path.substr(0, slash);
    path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    const TestTag* next = nullptr;
    if (at->type == Compound) {
      auto named = std::find_if(at->children.begin(), at->children.end(), [&](auto& c) { return c.name == step; });
      if (named != at->children.end()) next = &*named;
    } else if (size_t index = 0; at->type == List) {
      auto [end, error] = std::from_chars(step.data(), step.data() + step.size(), index);
      if (error == std::errc() && end == step.data() + step.size() && index < at->children.size())
        next = &at->children[index];
    }
    if (!next) return nullptr;
    at = next;
  }
  return at;
}

int64_t TestTag::number(std::string_view path) const { return typedTag(*this, path, Byte, Long, "an integer").integer; }

const std::string& TestTag::string(std::string_view path) const {
  return typedTag(*this, path, String, String, "a string").text;
}

const std::vector<TestTag>& TestTag::list(std::string_view path) const {
  return typedTag(*this, path, List, List, "a list").children;
}

namespace worldreader {

static TestTag readRoot(Cursor& in) {
  TestTag root;
  root.type = TestTag::Type(in.unsignedLE(1));
  if (root.type != TestTag::Compound)
    fail("the root tag is of type " + std::to_string(int(root.type)) + ", not a compound");
  root.name = in.text();
  readPayload(in, root, 0);
  return root;
}

TestTag parseNBT(std::string_view bytes) {
  Cursor in(bytes);
  TestTag root = readRoot(in);
  if (in.offset() != bytes.size()) fail(std::to_string(bytes.size() - in.offset()) + " bytes follow the root tag");
  return root;
}

std::vector<TestTag> parseRoots(std::string_view bytes) {
  Cursor in(bytes);
  std::vector<TestTag> roots;
  while (in.offset() < bytes.size()) roots.push_back(readRoot(in));
  return roots;
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
  Cursor header(std::string_view(bytes).substr(4, 4));
  int64_t declared = header.signedLE(4);
  if (declared < 0 || size_t(declared) != bytes.size() - 8) {
    fail(file.string() + " announces " + std::to_string(declared) + " bytes but holds " +
         std::to_string(bytes.size() - 8));
  }
  return {parseNBT(std::string_view(bytes).substr(8))};
}

std::map<std::string, std::string> databaseContents(const std::filesystem::path& worldFolder) {
  // LevelDB's own log and table files, copied so that opening (which may
  // recover the log into a new table) leaves the world untouched.
  auto source = worldFolder / "db";
  if (!std::filesystem::is_directory(source)) fail(source.string() + " is not a folder");
  struct Copy {
    std::string folder = (std::filesystem::temp_directory_path() / "worldreader.XXXXXX").string();
    ~Copy() {
      std::error_code ignored;
      std::filesystem::remove_all(folder, ignored);
    }
  } copy;
  if (!mkdtemp(copy.folder.data())) fail("cannot make a temporary folder");
  for (auto& entry : std::filesystem::directory_iterator(source)) {
    if (entry.path().filename() != "LOCK")
      std::filesystem::copy_file(entry.path(), copy.folder / entry.path().filename());
  }
  auto db = gamedatabase::open(copy.folder);
  std::map<std::string, std::string> contents;
  std::unique_ptr<leveldb::Iterator> it(db->NewIterator(leveldb::ReadOptions()));
  for (it->SeekToFirst(); it->Valid(); it->Next()) contents.emplace(it->key().ToString(), it->value().ToString());
  if (!it->status().ok()) fail("reading every record: " + it->status().ToString());
  return contents;
}

std::optional<std::string> readDatabaseValue(const std::filesystem::path& worldFolder, const std::string& key) {
  auto contents = databaseContents(worldFolder);
  auto found = contents.find(key);
  if (found == contents.end()) return std::nullopt;
  return found->second;
}

std::vector<std::string> databaseKeys(const std::filesystem::path& worldFolder) {
  std::vector<std::string> keys;
  for (auto& [key, value] : databaseContents(worldFolder)) keys.push_back(key);
  return keys;
}

TestTag readPlayer(const std::filesystem::path& worldFolder) {
  if (std::filesystem::is_directory(worldFolder / "db")) {
    auto bytes = readDatabaseValue(worldFolder, "~local_player");
    if (!bytes) fail(worldFolder.string() + " has no ~local_player record");
    return parseNBT(*bytes);
  }
  return typedTag(readLevelDat(worldFolder / "level.dat").root, "Player", TestTag::Compound, TestTag::Compound,
                  "a compound");
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
  const TestTag& tag = typedTag(root, path, TestTag::Byte, TestTag::LongArray, "a tag");
  std::string out(bytes);
  out.replace(skip + tag.payloadOffset, tag.payloadSize, payload);
  if (levelDat) out.replace(4, 4, littleEndian(int64_t(out.size() - 8), 4));
  return out;
}

std::string snbt(const TestTag& tag) {
  static const char* const suffixes[] = {"", "b", "s", "", "L"};
  if (tag.type <= TestTag::Long) return std::to_string(tag.integer) + suffixes[tag.type];
  if (tag.type == TestTag::String) return '"' + tag.text + '"';
  if (tag.type != TestTag::List && tag.type != TestTag::Compound) return "?";
  std::string out;
  for (const TestTag& child : tag.children) {
    out += (out.empty() ? "" : ",") + (tag.type == TestTag::Compound ? child.name + ":" : "") + snbt(child);
  }
  return tag.type == TestTag::Compound ? "{" + out + "}" : "[" + out + "]";
}

std::map<std::string, std::string> snapshot(const std::filesystem::path& world) {
  std::map<std::string, std::string> files;
  bool databaseReadable = true;
  try {
    for (auto& [key, value] : databaseContents(world)) files["db record " + key] = value;
  } catch (const std::exception&) {
    databaseReadable = false;
  }
  for (auto& entry : std::filesystem::recursive_directory_iterator(world)) {
    std::string key = std::filesystem::relative(entry.path(), world).string();
    if (!databaseReadable || key.rfind("db/", 0) != 0)
      files[key] = entry.is_regular_file() ? worldreader::readFile(entry.path()) : "<folder>";
  }
  return files;
}

std::string describeDifference(const std::map<std::string, std::string>& before,
                               const std::map<std::string, std::string>& after) {
  auto [b, a] = std::mismatch(before.begin(), before.end(), after.begin(), after.end());
  if (a != after.end() && (b == before.end() || a->first <= b->first)) return "wrote " + a->first;
  return b == before.end() ? "" : "removed " + b->first;
}

}  // namespace worldreader
