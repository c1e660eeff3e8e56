#pragma once

#include <functional>

namespace ui {

// Runs `fn`; an exception escaping it goes to the uncaught-exception handler
// and the process aborts. Every entry from Qt into our code goes through it.
void guarded(const std::function<void()>& fn);

}  // namespace ui
