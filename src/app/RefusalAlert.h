#pragma once

#include <string>

#include "records/Refusal.h"

// How every screen tells the user that a change was not written: an alert
// titled "Not Written" with the reason and one "Okay". The screen then shows
// what is stored and the program goes on. Does nothing for an outcome that
// was written.
void showRefusal(const Outcome& outcome);

// What cannot be opened or read (no player yet, a damaged backup): an alert
// titled "Error" with the reason and one "Okay".
void showError(const std::string& reason);

// Work that is done and worth saying so (where an exported file went):
// an alert with the title and message and one "Okay".
void showNotice(const std::string& title, const std::string& message);
