#include "Tarnbook/TBKLevelFile.h"

#include "LittleEndian.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKNBT.h"

namespace {

[[noreturn]] void damaged(const std::string& what) { throw TBKException(TBKException::Kind::Format, what); }

}  // namespace

TBKLevelFile::TBKLevelFile(int32_t storageVersion, std::shared_ptr<TBKCompoundTag> root)
    : storageVersion_(storageVersion), root_(std::move(root)) {
  if (!root_) throw TBKException(TBKException::Kind::Usage, "A level file needs a level compound.");
}

TBKLevelFile TBKLevelFile::parse(std::string_view bytes) {
  if (bytes.size() < 8) damaged("its 8-byte header is cut short (" + std::to_string(bytes.size()) + " bytes)");
  int32_t version = tbk::readLittleEndian<int32_t>(bytes.data());
  int32_t length = tbk::readLittleEndian<int32_t>(bytes.data() + 4);
  if (version < oldestStorageVersion) damaged("its storage version " + std::to_string(version) + " is not valid");
  size_t following = bytes.size() - 8;
  if (length < 0 || static_cast<size_t>(length) != following) {
    damaged("its header announces " + std::to_string(length) + " bytes of data but " + std::to_string(following) +
            " follow");
  }
  return TBKLevelFile(version, TBKNBT::parseCompound(bytes.substr(8)));
}

std::string TBKLevelFile::serialise() const {
  std::string out(8, '\0');
  TBKNBT::serialise(*root_, out);
  size_t length = out.size() - 8;
  if (length > static_cast<size_t>(INT32_MAX)) {
    throw TBKException(TBKException::Kind::Usage, "The level data is too large to save.");
  }
  std::string header;
  tbk::appendLittleEndian(header, storageVersion_);
  tbk::appendLittleEndian(header, static_cast<int32_t>(length));
  out.replace(0, 8, header);
  return out;
}
