#pragma once

#include <functional>

// One edit of a tree in memory and the edit that takes it back. `apply` may
// raise TBKException only before it has changed anything; `revert` must put
// the tree back exactly as `apply` found it and never raises.
struct Change {
  std::function<void()> apply;
  std::function<void()> revert;
};
