#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace tbk {

// Memory for the tags of one parse, handed out by bumping a pointer: a tree
// read from disk costs a few large allocations instead of one per tag. Every
// tag made from it holds the arena (through its allocator), so the memory
// lives until the last of those tags is gone; a tag kept from a tree that is
// otherwise dropped keeps that tree's blocks.
class TagArena {
public:
    void* allocate(size_t size, size_t alignment);

private:
    static constexpr size_t blockSize = 64 * 1024;
    std::vector<std::unique_ptr<std::byte[]>> _blocks;
    std::byte* _next = nullptr;
    size_t _left = 0;
};

template <typename T>
struct ArenaAllocator {
    using value_type = T;

    explicit ArenaAllocator(std::shared_ptr<TagArena> arena) : arena(std::move(arena)) {}
    template <typename U>
    ArenaAllocator(const ArenaAllocator<U>& other) : arena(other.arena) {}

    T* allocate(size_t count) { return static_cast<T*>(arena->allocate(count * sizeof(T), alignof(T))); }
    void deallocate(T*, size_t) {}  // freed with the arena

    template <typename U>
    bool operator==(const ArenaAllocator<U>& other) const { return arena == other.arena; }

    std::shared_ptr<TagArena> arena;
};

}  // namespace tbk
