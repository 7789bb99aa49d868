// A save that failed, in the player's words: what the game could not keep, why (the disk is
// full, the folder may not be written, another game is saving the file), and the file, for the
// screens that say so where the player looks.
#pragma once

#include <string>

#include "platform/files/safe_file.hpp"

// "Not saved in /home/me/.local/share/korvelin/scores.json: the disk is full." in the player's
// language; the system's own words where the game has none of its own.
std::string SaveFailureText(const std::string& file, const platform::SaveError& error);
