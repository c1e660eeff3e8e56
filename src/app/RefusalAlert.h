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
