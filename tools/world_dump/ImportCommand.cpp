#include <filesystem>

#include "Commands.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKFileSource.h"
#include "Tarnbook/TBKWorldArchive.h"

namespace fs = std::filesystem;

int importCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty() || args.size() > 2) {
    err << "usage: gorvane-world import FILE [DATA-FOLDER]\n";
    return 2;
  }
  try {
    std::string archive = fs::absolute(args[0]).lexically_normal().string();
    std::string worlds = args.size() == 2 ? (fs::absolute(args[1]).lexically_normal() / "minecraftWorlds").string()
                                          : TBKFileSource::sharedSource().worldsFolder();
    fs::create_directories(worlds);
    auto name = TBKWorldArchive::importWorld(archive, worlds);
    out << "Imported " << archive << " as " << worlds << "/" << *name << "\n";
    return 0;
  } catch (const TBKException& error) {
    err << error.reason() << "\n";
    return 1;
  } catch (const fs::filesystem_error& error) {
    err << error.what() << "\n";
    return 1;
  }
}
