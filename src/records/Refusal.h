#pragma once

#include <functional>
#include <optional>
#include <string>

// A change the disk, the game or the data would not take, as the user reads
// it: which record, what was refused and, where there is one, what to do.
// Nothing of the change is left in the tree or on disk when one is returned.
struct Refusal {
  std::string reason;
};

// What a change came to: nothing when it was written (or there was nothing
// to write), else why not.
using Outcome = std::optional<Refusal>;

// Runs a write that raises TBKException when it is refused, and gives the
// reason as a value. Raises nothing else of Tarnbook's.
Outcome attempt(const std::function<void()>& write);
