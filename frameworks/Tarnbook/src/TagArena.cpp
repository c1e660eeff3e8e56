#include "TagArena.h"

#include <cstdint>

namespace tbk {

void* TagArena::allocate(size_t size, size_t alignment) {
    auto address = reinterpret_cast<uintptr_t>(_next);
    size_t padding = (alignment - address % alignment) % alignment;
    if (!_next || padding + size > _left) {
        // Large requests get a block of their own so they waste no space.
        size_t length = size + alignment > blockSize / 4 ? size + alignment : blockSize;
        _blocks.push_back(std::make_unique_for_overwrite<std::byte[]>(length));
        std::byte* block = _blocks.back().get();
        if (length != blockSize) {
            auto start = reinterpret_cast<uintptr_t>(block);
            return block + (alignment - start % alignment) % alignment;
        }
        _next = block;
        _left = blockSize;
        address = reinterpret_cast<uintptr_t>(_next);
        padding = (alignment - address % alignment) % alignment;
    }
    std::byte* result = _next + padding;
    _next = result + size;
    _left -= padding + size;
    return result;
}

}  // namespace tbk
