#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The key of one of a chunk's records in a world's database: the chunk's x
// and z (int32 little-endian), its dimension (int32, left out for the
// Overworld), the record's tag byte and, for a sub-chunk, the sub-chunk's
// index (signed: today's worlds reach down to -4).
struct TBKChunkKey {
  enum class Dimension : int32_t { Overworld = 0, Nether = 1, End = 2 };

  // The tag bytes of the records a chunk has.
  enum class Tag : uint8_t {
    Data3D = 0x2b,         // height map and 3D biomes
    Version = 0x2c,        // the chunk's format version
    Data2D = 0x2d,         // height map and biomes, before 3D biomes
    Data2DLegacy = 0x2e,   // height map and biome colours
    SubChunk = 0x2f,       // 16 x 16 x 16 blocks; the index byte follows
    LegacyTerrain = 0x30,  // a whole chunk of the early game
    BlockEntities = 0x31,  // several NBT roots one after another
    Entities = 0x32,       // the entities' old form, several roots
    PendingTicks = 0x33,
    BlockExtraData = 0x34,
    BiomeState = 0x35,
    FinalizedState = 0x36,
    BorderBlocks = 0x38,
    HardcodedSpawners = 0x39,
    RandomTicks = 0x3a,
    Checksums = 0x3b,
    MetaDataHash = 0x3d,
    GeneratedPreCavesAndCliffsBlending = 0x3e,
    BlendingBiomeHeight = 0x3f,
    BlendingData = 0x40,
    ActorDigestVersion = 0x41,
    LegacyVersion = 0x76,
  };

  int32_t x = 0;
  int32_t z = 0;
  Dimension dimension = Dimension::Overworld;
  Tag tag = Tag::Version;
  int8_t subChunk = 0;  // meaningful for Tag::SubChunk only

  // The key's fields, or nullopt for a key that is not a chunk record's
  // (player records, "digp" digests, "actorprefix" entities, names...).
  // Only the game's tags and dimensions are taken, so a text key of the
  // same length is never mistaken for a chunk's.
  static std::optional<TBKChunkKey> parse(std::string_view key);
  std::string bytes() const;

  // "Overworld", "Nether" or "End".
  static const char* dimensionName(Dimension dimension);
  // The dimension named so, in any case ("nether", "End"), if any.
  static std::optional<Dimension> dimensionNamed(std::string_view name);

  // The chunk holding the block or point at x, z (floor division by 16).
  static int32_t chunkOf(double coordinate);

  bool operator==(const TBKChunkKey&) const = default;
};
