#include <algorithm>
#include <climits>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <utility>

#include "Commands.h"
#include "PngEncoder.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKMapShading.h"
#include "Tarnbook/TBKOutputFile.h"
#include "Tarnbook/TBKWorldMap.h"

namespace fs = std::filesystem;

namespace {

// A picture past this many pixels (a world with chunks far apart) is
// refused rather than written: its file would hold little but clear pixels.
constexpr uint64_t largestPicture = uint64_t(1) << 28;

const char* usage = "usage: map WORLD [--dimension overworld|nether|end] --png FILE\n";

struct Request {
  fs::path world;
  TBKWorldMap::Dimension dimension = TBKWorldMap::Dimension::Overworld;
  fs::path png;
};

std::optional<Request> parse(const std::vector<std::string>& args, std::ostream& err) {
  Request request;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    bool hasValue = i + 1 < args.size();
    if (arg == "--png" && hasValue) {
      request.png = fs::absolute(args[++i]).lexically_normal();
    } else if (arg == "--dimension" && hasValue) {
      const std::string& name = args[++i];
      auto dimension = TBKChunkKey::dimensionNamed(name);
      if (!dimension) {
        err << "There is no dimension \"" << name << "\": say overworld, nether or end.\n" << usage;
        return std::nullopt;
      }
      request.dimension = *dimension;
    } else if (request.world.empty() && !arg.starts_with("--")) {
      request.world = fs::absolute(arg).lexically_normal();
      if (request.world.filename().empty()) request.world = request.world.parent_path();
    } else {
      err << usage;
      return std::nullopt;
    }
  }
  if (request.world.empty() || request.png.empty()) {
    err << usage;
    return std::nullopt;
  }
  return request;
}

using ChunkPosition = std::pair<int32_t, int32_t>;  // z first: the picture's rows

}  // namespace

int mapCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  auto request = parse(args, err);
  if (!request) return 1;
  try {
    TBKWorldMap map(request->world.string(), request->world.filename().string());
    std::map<ChunkPosition, std::unique_ptr<TBKChunkSurface>> chunks;
    std::set<std::string> unknown;
    map.forEachSurface(request->dimension, [&](int32_t x, int32_t z, const TBKChunkSurface& surface) {
      for (const std::string& name : surface.unknownNames()) unknown.insert(name);
      chunks[{z, x}] = std::make_unique<TBKChunkSurface>(surface);
      return true;
    });
    if (chunks.empty()) {
      err << "The world has no saved chunks in that dimension: there is nothing to draw.\n";
      return 1;
    }
    int64_t minX = INT32_MAX, maxX = INT32_MIN;
    for (const auto& [position, surface] : chunks) {
      minX = std::min<int64_t>(minX, position.second);
      maxX = std::max<int64_t>(maxX, position.second);
    }
    int64_t minZ = chunks.begin()->first.first, maxZ = chunks.rbegin()->first.first;
    uint64_t width = uint64_t(maxX - minX + 1) * 16, height = uint64_t(maxZ - minZ + 1) * 16;
    if (width * height > largestPicture) {
      err << "The saved chunks lie too far apart for one picture (" << width << " by " << height
          << " pixels); nothing was written.\n";
      return 1;
    }
    PngEncoder png{uint32_t(width), uint32_t(height)};
    std::vector<uint32_t> band(width * 16);
    auto find = [&](int64_t x, int64_t z) -> const TBKChunkSurface* {
      if (x < INT32_MIN || z < INT32_MIN) return nullptr;
      auto found = chunks.find({int32_t(z), int32_t(x)});
      return found == chunks.end() ? nullptr : found->second.get();
    };
    for (int64_t z = minZ; z <= maxZ; ++z) {
      std::fill(band.begin(), band.end(), 0);
      for (auto it = chunks.lower_bound({int32_t(z), INT32_MIN}); it != chunks.end() && it->first.first == z; ++it) {
        int64_t x = it->first.second;
        TBKMapShading::paint(*it->second, find(x, z - 1), find(x - 1, z), &band[size_t(x - minX) * 16], width);
      }
      for (int row = 0; row < 16; ++row) png.addRow(&band[size_t(row) * width]);
    }
    TBKOutputFile::write(request->png.string(), png.finish());
    out << "Drew " << chunks.size() << " chunks into " << request->png.string() << " (" << width << " by " << height
        << " pixels; the top-left pixel is block x " << minX * 16 << ", z " << minZ * 16 << ").\n";
    if (!unknown.empty()) {
      out << unknown.size() << " block names have no colour of their own and are drawn in magenta:";
      for (const std::string& name : unknown) out << " " << name;
      out << "\n";
    }
    if (map.damagedRecords() > 0) {
      out << map.damagedRecords() << " damaged records of the world were left out of the picture.\n";
    }
    return 0;
  } catch (const TBKException& error) {
    err << error.reason() << "\n";
  } catch (const std::exception& error) {
    err << "The picture could not be made: " << error.what() << "\n";
  }
  return 1;
}
