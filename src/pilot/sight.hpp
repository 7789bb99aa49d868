// What the screen shows of the enemies: the units the camera has in view, by chain and place in
// the chain. The pilot decides from this alone, as a player decides from the picture.
#pragma once

#include <memory>
#include <vector>

#include "math/math.hpp"

class Camera;
class CharaBase;

struct SeenUnit {
    int chain = 0;   // 0 for the first enemy of the course, 1 for the next ...
    int index = 0;   // 0 at the front of the chain
    Vec3 position;
    bool flying = true;  // false: its explosion is what shows
};

// The world-to-clip transform of the camera as it last placed itself, for a picture of `aspect`
// (width / height).
Matrix CameraViewProjection(const Camera& camera, float aspect);
// The point lies in front of the camera and inside the picture.
bool InPicture(const Matrix& viewProjection, Vec3 point);
// Every unit of a released enemy inside the picture, flying or going up in its explosion.
// `characters` is the game's list, the player first.
std::vector<SeenUnit> UnitsInView(const std::vector<std::unique_ptr<CharaBase>>& characters, const Matrix& viewProjection);
