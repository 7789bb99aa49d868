// The course picture's colours, shared by the drawing and its legend. Marker fills are bright
// and saturated over a ground kept dark; each marker has its own fill.
#pragma once

#include <string>

#include "image.hpp"

namespace picture_palette {

inline constexpr Rgba kOutline{0.02f, 0.02f, 0.04f, 1};
inline constexpr Rgba kCourseLine{1, 1, 1, 0.55f};
inline constexpr Rgba kGate{1, 1, 1, 1};
inline constexpr Rgba kStart{0.35f, 0.95f, 0.35f, 1};     // green, like the player's path
inline constexpr Rgba kGoal{1, 1, 1, 1};                 // a white ring round a black centre
inline constexpr Rgba kGoalCentre{0, 0, 0, 1};
inline constexpr Rgba kNoEnemy{0.6f, 0.6f, 0.6f, 1};     // a trigger gate with no route to release
inline constexpr Rgba kPath{0.5f, 1, 0.4f, 0.95f};
inline constexpr Rgba kHit{1, 0.15f, 0.15f, 1};
inline constexpr Rgba kEnd{1, 1, 1, 1};
inline constexpr Rgba kText{0.96f, 0.96f, 0.96f, 1};
inline constexpr Rgba kPanel{0.02f, 0.03f, 0.05f, 0.8f};

// Enemy k's colour (k from 1): its route, its trigger gate, its release.
inline Rgba Enemy(int k) {
    constexpr Rgba colours[] = {{1, 0.55f, 0.1f, 1},  {1, 0.3f, 0.85f, 1},   {0.25f, 0.85f, 1, 1},
                                {0.68f, 0.55f, 1, 1}, {1, 0.95f, 0.3f, 1},   {1, 0.55f, 0.55f, 1},
                                {0.55f, 0.75f, 1, 1}, {0.9f, 0.75f, 0.55f, 1}};
    constexpr int n = static_cast<int>(sizeof colours / sizeof colours[0]);
    return colours[((k - 1) % n + n) % n];
}

// "E3": how the picture names enemy 3.
inline std::string EnemyTag(int k) {
    std::string tag = "E";  // appended, not "E" + ...: GCC 12 warns falsely on that form
    tag += std::to_string(k);
    return tag;
}

}  // namespace picture_palette
