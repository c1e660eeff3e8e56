#pragma once

#include <ostream>
#include <string>
#include <vector>

// map WORLD [--dimension overworld|nether|end] --png FILE
//
// Draws every saved chunk of one dimension of the world in the folder
// WORLD from above, one pixel per block (north up, the smallest x and z at
// the top left), and writes it to FILE as a PNG; unsaved chunks stay clear.
// Says on `out` which blocks the picture's top-left pixel stands for, how
// many chunks were drawn and which block names had no colour. Returns the
// exit status: 0 when the picture was written, 1 otherwise (the reason on
// `err`).
int mapCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
