// The pilot: flies a run with the controls a player has (the look offset, the fire button, slide
// left and right), deciding each update from what the screen shows: the craft, the camera, the
// gun and the enemy units in the picture, where they are and how they move. It aims at the chain
// that threatens first, leads its shots, slides away from units about to touch, keeps near the
// gate ahead, and leaves the flying to the craft. It reads no device and nothing of the course
// beyond the gate on the screen.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "chara/controls.hpp"
#include "math/math.hpp"
#include "pilot/sight.hpp"

class Camera;
class CharaBase;

class Pilot {
public:
    // What the pilot looks at in one update, before the update runs: everything as the last
    // update left it (what the last picture showed).
    struct Moment {
        const CharaBase& craft;
        const Camera& camera;
        const Matrix& gun;  // the gun's pose: its +z points at the camera's target
        const std::vector<std::unique_ptr<CharaBase>>& characters;  // the game's list, the craft first
        float aspect;       // of the picture, width / height
    };

    // The controls of this update. Start and back are never pressed.
    Controls Fly(const Moment& now);

    // How the pilot judged the last update, for tests and the overlay.
    int targetChain = -1;  // the chain aimed at; -1 for none
    bool danger = false;   // a unit was about to touch, and the craft slid away

private:
    // What the pilot remembers of a unit: where it was last seen and how it moved.
    struct Track {
        Vec3 position, velocity;
        int seenAt = -1000;  // the update it was last in the picture
        bool moving = false;  // seen in two updates running, so its velocity is known
    };
    using Chain = std::array<Track, 40>;

    void Remember(const std::vector<SeenUnit>& seen);
    // A unit remembered well enough to reckon with: seen within the last few updates.
    bool Known(const Track& track) const;
    int ChooseTarget(Vec3 craftPosition) const;
    Vec3 Intercept(const Track& track, Vec3 gunPosition) const;
    void Aim(const Moment& now, Vec3 point, Controls* out) const;
    bool ShotWouldTell(const Moment& now) const;
    int ChooseSlide(const Moment& now);

    std::vector<Chain> chains_;
    int update_ = 0;
    bool hasLast_ = false;
    Vec3 lastCraft_;
    Vec3 craftVelocity_;
    int lastSlide_ = 0;
};
