// The process-wide seed of the enemy units.
#include "chara/unit_seed.hpp"

#include <random>

namespace {

std::optional<uint64_t> gSeed;
uint64_t gUnitsMade = 0;

// One step of splitmix64: neighbouring counts give unrelated seeds.
uint64_t Mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

}  // namespace

void SetUnitSeed(std::optional<uint64_t> seed) {
    gSeed = seed;
    gUnitsMade = 0;
}

std::optional<uint64_t> UnitSeed() { return gSeed; }

uint32_t NextUnitSeed() {
    if (!gSeed) return std::random_device{}();
    return static_cast<uint32_t>(Mix(Mix(*gSeed) + gUnitsMade++) >> 32);
}
