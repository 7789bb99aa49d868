// The player's shots, their explosions and the muzzle flashes.
#include "course/bullet_pool.hpp"

#include <algorithm>
#include <string>

#include "graphics/game_effects.hpp"
#include "graphics/graphics_device.hpp"
#include "graphics/render_state_guard.hpp"
#include "graphics/asset_caches.hpp"

using namespace platform;

namespace {

constexpr const char* kMapA = "data/model/mapA.x";
constexpr const char* kMapB = "data/model/mapB.x";
constexpr const char* kBulletModel = "data/model/bullet.x";
constexpr const char* kExplosionModel = "data/model/explosion.x";
constexpr const char* kFlashTexture = "data/texture/green.png";

constexpr int kCooldownCap = 20;
constexpr int kFlashFrames = 8;
constexpr float kMuzzleSide = 0.5f;    // each muzzle's distance from the gun's centre line
constexpr float kFlashAhead = 2.0f;    // where a muzzle flash shows, ahead of the gun
// How close ahead a map surface sets a shot off. Less than a step, so a surface crossed in the
// last tenth (mapA) or the last half (mapB) of a step is not seen.
constexpr float kMapAReach = 14.9f;
constexpr float kMapBReach = 7.8f;
constexpr float kGrowth = 0.2f;        // explosion scale per update
constexpr float kFadeFrom = 8.0f;      // scale beyond which the explosion fades
constexpr int kFadeStep = 25;
constexpr float kEndSize = 10.0f;

// The flash strip holds eight frames side by side in the upper half of the picture.
constexpr float kFrameWidth = 100.0f / 800.0f;
constexpr float kStripHeight = 0.5f;

}  // namespace

void BulletPool::Update(const Matrix& gun, const Matrix& mapWorld, bool fire, bool blocked) {
    for (HudVertex& v : flashQuad) v.color = ColorArgb(255, 255, 255, 255);
    gunWorld = gun;

    int& fireCooldown = fireCooldown_;
    if (fire && fireCooldown > kFireInterval && !blocked) {
        // Pressing restarts the wait even when every shot is still out.
        fireCooldown = 0;
        auto free = std::find_if(shots.begin(), shots.end(), [](const Shot& s) { return !s.active; });
        if (free != shots.end()) {
            free->world = MatrixTranslation(float(side) * kMuzzleSide, 0.0f, kMuzzleAhead) * gun;
            free->active = true;
            free->exploding = false;
            free->age = 0;
            free->size = 0.5f;
            free->alpha = 255;
            (side == 1 ? flashRight : flashLeft) = kFlashFrames;
            side = -side;
        }
    }
    flashLeft = std::max(flashLeft - 1, 0);
    flashRight = std::max(flashRight - 1, 0);
    fireCooldown = std::min(fireCooldown + 1, kCooldownCap);

    const Model* mapA = assets_.models.Get(kMapA);
    const Model* mapB = assets_.models.Get(kMapB);
    const Matrix toMap = MatrixInverse(mapWorld);
    for (Shot& s : shots) {
        if (!s.active) continue;
        if (s.exploding) {
            s.size += kGrowth;
            if (s.size > kFadeFrom) s.alpha = std::max(s.alpha - kFadeStep, 0);
            if (s.size > kEndSize) {
                s.exploding = false;
                s.active = false;
            }
            continue;
        }
        s.world = MatrixTranslation(0.0f, 0.0f, kShotStep) * s.world;
        const Vec3 origin = Vec3TransformCoord(s.world.Row(3), toMap);
        const Vec3 direction = Vec3TransformNormal(Vec3TransformNormal({0, 0, 1}, s.world), toMap);
        // mapB is asked only when mapA does not set the shot off.
        const RayHit onA = mapA->Intersect(origin, direction);
        bool hit = onA.hit && onA.distance < kMapAReach;
        if (!hit) {
            const RayHit onB = mapB->Intersect(origin, direction);
            hit = onB.hit && onB.distance < kMapBReach;
        }
        if (hit) {
            s.exploding = true;
            s.age = 0;
        }
        if (++s.age > kShotLife) {
            s.age = 0;
            s.active = false;
        }
    }
}

void BulletPool::Draw() {
    ModelShader& shader = GameEffects::Instance().modelShader;
    for (const Shot& s : shots) {
        if (!s.active) continue;
        if (s.exploding)
            shader.DrawFaded(assets_.models.Get(kExplosionModel), MatrixScaling(s.size, s.size, s.size) * s.world, s.alpha);
        else
            shader.Draw(assets_.models.Get(kBulletModel), s.world);
    }

    // The flashes are added onto the picture and leave the depth buffer alone.
    RenderDevice& device = *GraphicsDevice::Instance().device;
    RenderStateGuard added(device);
    added.Blend(BlendMode::Additive).Lighting(false).DepthWrite(false);
    device.SetTexture(0, assets_.textures.Get(kFlashTexture)->texture);
    const struct {
        int frame;
        float x;
    } flashes[] = {{flashLeft, -kMuzzleSide}, {flashRight, kMuzzleSide}};
    for (const auto& flash : flashes) {
        if (flash.frame <= 0) continue;
        // The frame shown is the counter, so frames 7 down to 1 play after a shot.
        const float u0 = float(flash.frame) * kFrameWidth;
        const float u1 = u0 + kFrameWidth;
        flashQuad[0] = {-1, 1, 0, flashQuad[0].color, u0, 0};
        flashQuad[1] = {1, 1, 0, flashQuad[1].color, u1, 0};
        flashQuad[2] = {1, -1, 0, flashQuad[2].color, u1, kStripHeight};
        flashQuad[3] = {-1, -1, 0, flashQuad[3].color, u0, kStripHeight};
        device.SetTransform(TransformType::World, MatrixTranslation(flash.x, 0.0f, kFlashAhead) * gunWorld);
        device.DrawPrimitiveUP(PrimitiveType::TriangleFan, flashQuad.data(), 4);
    }
}
