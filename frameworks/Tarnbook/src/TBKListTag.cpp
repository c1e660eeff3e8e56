#include "Tarnbook/TBKListTag.h"

#include "Tarnbook/TBKCompoundTag.h"
#include "Tarnbook/TBKException.h"

namespace {

[[noreturn]] void outOfRange(const TBKListTag& list, size_t index, size_t limit) {
    throw TBKException(TBKException::UsageFailure,
                       "Entry " + std::to_string(index) + " of the list \"" + list.name() +
                           "\" does not exist (it has " + std::to_string(limit) + " entries).");
}

}  // namespace

TBKListTag::TBKListTag(std::string name, TBKTagType elementType,
                       std::vector<std::shared_ptr<TBKTag>> entries)
    : TBKTag(std::move(name), TBKTagType::List), _elementType(elementType), _entries(std::move(entries)) {
    for (const auto& entry : _entries) {
        if (!entry || entry->type() != _elementType) {
            throw TBKException(TBKException::UsageFailure,
                               "The list \"" + this->name() + "\" can only hold " +
                                   TBKTagTypeName(_elementType) + " entries.");
        }
    }
}

std::shared_ptr<TBKTag> TBKListTag::objectAtIndexedSubscript(size_t index) const {
    if (index >= _entries.size()) outOfRange(*this, index, _entries.size());
    return _entries[index];
}

std::shared_ptr<TBKCompoundTag> TBKListTag::compoundAtIndex(size_t index) const {
    return std::dynamic_pointer_cast<TBKCompoundTag>(objectAtIndexedSubscript(index));
}

void TBKListTag::setObjectAtIndexedSubscript(std::shared_ptr<TBKTag> tag, size_t index) {
    if (index > _entries.size()) outOfRange(*this, index, _entries.size());
    if (!tag) {
        throw TBKException(TBKException::UsageFailure,
                           "An empty entry cannot be stored in the list \"" + name() + "\".");
    }
    bool onlyEntry = _entries.empty() || (_entries.size() == 1 && index == 0);
    if (tag->type() != _elementType) {
        if (!onlyEntry) {
            throw TBKException(TBKException::UsageFailure,
                               std::string("A ") + TBKTagTypeName(tag->type()) +
                                   " cannot be stored in the list \"" + name() + "\" of " +
                                   TBKTagTypeName(_elementType) + " entries.");
        }
        _elementType = tag->type();
    }
    if (index == _entries.size()) {
        _entries.push_back(std::move(tag));
    } else {
        _entries[index] = std::move(tag);
    }
}
