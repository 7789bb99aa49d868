// Where the enemy units' random generators get their seeds: from the system's random source,
// or, when the game is given a seed, from that seed and a running count of units made, so a run
// can be played again exactly.
#pragma once

#include <cstdint>
#include <optional>

// Sets (or with nullopt clears) the seed for every unit made from now on and restarts the count,
// so a new game with the same seed makes the same units in the same order.
void SetUnitSeed(std::optional<uint64_t> seed);
// The seed set, if any.
std::optional<uint64_t> UnitSeed();
// The seed of the next unit's generator: one draw of std::random_device without a seed set,
// otherwise a value mixed from the seed and the number of units made since it was set.
uint32_t NextUnitSeed();
