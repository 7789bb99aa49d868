// The player's shots: a fixed pool of 20 that fly straight ahead from the gun's muzzles, explode
// on the map's two collision meshes or when an enemy sets them off, and grow and fade as
// explosions; and the short muzzle flash after each shot. Nothing is allocated after
// construction.
#pragma once

#include <array>

#include "math/math.hpp"
#include "platform/types/render_types.hpp"

// One shot of the pool. Enemies read world, active, exploding and size, and set exploding.
struct Shot {
    Matrix world = Matrix::Identity();  // flies along its own +z axis
    bool active = false;                // flying or exploding
    bool exploding = false;             // exploding, not flying
    int age = 0;                        // updates flown since firing (or since exploding)
    int alpha = 255;                    // explosion opacity 0 ... 255
    float size = 0.5f;                  // explosion scale
};

struct AssetCaches;

class BulletPool {
public:
    static constexpr int kShotCount = 20;
    static constexpr float kMuzzleAhead = 2.5f;  // where a shot starts, ahead of the gun
    static constexpr float kShotStep = 15.0f;    // units a shot flies per update
    static constexpr int kShotLife = 100;        // a shot that hits nothing ends when its age passes this
    static constexpr int kFireInterval = 10;     // a shot needs more updates than this since the last one

    // Draws and ray-tests through `assets`. `fireCooldown` counts the updates since the last
    // shot, capped at 20; it outlives the pool, so the wait carries from one run into the next.
    BulletPool(AssetCaches& assets, int& fireCooldown) : assets_(assets), fireCooldown_(fireCooldown) {}

    // Once per frame: fires while `fire` is held unless `blocked` (the run is over), moves the
    // flashes, the shots and the explosions. gunWorld is the Weapon's world matrix.
    void Update(const Matrix& gunWorld, const Matrix& mapWorld, bool fire, bool blocked);
    // Shots, explosions and muzzle flashes; render states are restored afterwards.
    void Draw();

    std::array<Shot, kShotCount> shots{};
    std::array<platform::HudVertex, 4> flashQuad{};  // reused for both muzzle flashes
    int side = 1;                                    // muzzle of the next shot: +1 right, -1 left
    Matrix gunWorld = Matrix::Identity();            // the gun as the last Update saw it
    int flashLeft = 0;                               // updates left of each muzzle's flash
    int flashRight = 0;

private:
    AssetCaches& assets_;
    int& fireCooldown_;
};
