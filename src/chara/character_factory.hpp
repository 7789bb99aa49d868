// Makes the characters of the game scene by kind name.
#pragma once

#include <memory>
#include <string_view>

#include "chara/chara_base.hpp"

struct AssetCaches;

// "player" makes a Player, "enemy" an Enemy, both placed by the gate at `start` and heading for
// the one after it, drawing from `assets`. Any other name, compared in full and
// case-sensitively, makes nothing.
std::unique_ptr<CharaBase> CharacterFactory(std::string_view name, CoursePosition start, AssetCaches& assets);
