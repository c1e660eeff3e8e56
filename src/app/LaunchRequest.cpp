#include "app/LaunchRequest.h"

#include <algorithm>
#include <cctype>

namespace {

bool endsWithArchiveExtension(const std::string& path) {
  const std::string extension = ".mcworld";
  if (path.size() <= extension.size()) return false;
  std::string tail = path.substr(path.size() - extension.size());
  std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return tail == extension;
}

LaunchRequest& currentRequest() {
  static LaunchRequest request;
  return request;
}

}  // namespace

LaunchRequest LaunchRequest::parse(const std::vector<std::string>& arguments) {
  LaunchRequest request;
  const std::string exportOption = "--export-to=";
  for (const auto& argument : arguments) {
    std::string* slot = nullptr;
    std::string value = argument;
    if (argument.rfind(exportOption, 0) == 0) {
      slot = &request.exportFolder;
      value = argument.substr(exportOption.size());
    } else if (argument.rfind("-", 0) == 0) {
      // The rest is the platform's (a root start passes its options on).
      break;
    } else {
      slot = endsWithArchiveExtension(argument) ? &request.archive : &request.folder;
    }
    if (value.empty() || !slot->empty()) {
      request.problem = "Gorvane takes one world archive, one folder and one --export-to=FOLDER at most.";
      continue;
    }
    *slot = value;
  }
  return request;
}

LaunchRequest LaunchRequest::fromArguments(const std::vector<std::string>& arguments,
                                           const std::string& workingFolder) {
  LaunchRequest request = parse(arguments);
  for (std::string* path : {&request.archive, &request.folder, &request.exportFolder}) {
    if (!path->empty() && (*path)[0] != '/') *path = workingFolder + "/" + *path;
  }
  if (request.folder.empty() || !request.problem.empty()) return request;
  try {
    request.dataFolders = TBKFileSource::dataFoldersIn(request.folder);
  } catch (const TBKException& error) {
    request.problem = error.reason();
    return request;
  }
  if (request.dataFolders.empty()) {
    request.problem = "No worlds of the game were found in " + request.folder +
                      ": give the game's com.mojang folder, a folder holding it as another device keeps it, or one "
                      "world's folder.";
  }
  return request;
}

const LaunchRequest& LaunchRequest::current() { return currentRequest(); }

void LaunchRequest::setCurrent(LaunchRequest request) { currentRequest() = std::move(request); }
