// The enemy's flight, its chain of units and their drawing.
#include "chara/enemy.hpp"

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>

#include "chara/unit_seed.hpp"
#include "course/bullet_pool.hpp"
#include "course/course_check.hpp"
#include "graphics/game_effects.hpp"
#include "graphics/graphics_device.hpp"
#include "graphics/render_state_guard.hpp"
#include "graphics/asset_caches.hpp"
#include "motion/local_mover.hpp"

// The course layout and its checker time the enemies' routes with these speeds.
static_assert(Enemy::kRouteSpeed == route_timing::kEnemyRouteSpeed && Enemy::kMinSpeed == route_timing::kEnemySlowestChase &&
              Enemy::kMaxSpeed == route_timing::kEnemyFastestChase);

using namespace platform;

namespace {

constexpr const char* kUnitModel = "data/model/enemy.x";
constexpr const char* kRouteGateModel = "data/model/CheckPoint2.x";
constexpr const char* kRouteMap = "data/model/mapD.x";
constexpr const char* kChaseMap = "data/model/mapA.x";
constexpr const char* kSpriteTexture = "data/texture/particle.png";

constexpr float kPassDistance = 5.0f;
constexpr float kChaseTurnStep = 0.01f;
constexpr int kMeasureInterval = 10;  // the countdown restarts here: one measurement every 11 updates
constexpr float kHeatStep = 0.02f;
constexpr float kWeaveStep = 0.05235833f;  // 3 degrees, radians
constexpr int kLastPhase = 120;
constexpr float kShotReach = 2.0f;  // added to a shot's size
constexpr float kRiseFall = 0.03f;
constexpr float kFlashStep = 0.6f;
constexpr int kLastFlashFrame = 15;
constexpr int kFlashFrames = 16;
constexpr int kDyingUpdates = 61;  // still drawn after this many; gone in the next
constexpr float kSpriteHalfSize = 5.0f;
constexpr float kOutlineSize = 0.01f;

// The pose at `eye` looking at `at` with `up`; none when the two points meet or the look runs
// along `up`, where the look-at has no answer (and would throw the body to the origin).
std::optional<Matrix> Facing(Vec3 eye, Vec3 at, Vec3 up) {
    const Vec3 look = at - eye;
    const float length = Vec3Length(look);
    if (length < 1e-4f || Vec3Length(Vec3Cross(up, look / length)) < 1e-4f) return std::nullopt;
    return MatrixInverse(MatrixLookAtLH(eye, at, up));
}

// Weave amplitude of unit i, as a fraction of the way to a side line: the front units hardly
// weave, the rear ones sweep most of the way.
float Amplitude(int i) { return i < 30 ? static_cast<float>(3 * i / 10) / 10.0f : 0.9f; }

Vec3 OwnUp(const Matrix& world) { return Vec3Normalize(Vec3TransformNormal({0, 1, 0}, world)); }

// The explosion sprite turns to the camera about the unit's own up axis; the half turn about x
// shows the strip the right way up.
Matrix Billboard(const EnemyUnit& unit, Vec3 cameraPosition) {
    const std::optional<Matrix> facing = Facing(unit.world.Row(3), cameraPosition, OwnUp(unit.world));
    return facing ? MatrixRotationX(3.1415927f) * *facing : unit.billboard;
}

Vec3 CameraPosition() { return MatrixInverse(GraphicsDevice::Instance().device->GetTransform(TransformType::View)).Row(3); }

}  // namespace

// The draws are made here rather than by the standard distributions, whose algorithms differ
// between libraries: a seed then replays the same chain everywhere.
EnemyUnit::EnemyUnit(uint32_t seed) {
    std::mt19937 random(seed);
    // 0 ... 119, each equally likely to within 2^-32.
    phase = static_cast<int>((static_cast<uint64_t>(random()) * 120u) >> 32);
    // [0, 1) with 24 bits, exactly representable: never 1.
    const auto unit = [&random] { return static_cast<float>(random() >> 8) * 0x1.0p-24f; };
    lag = unit();
    spinRate = 60.0f * unit() - 30.0f;
}

Enemy::Enemy(CoursePosition start, AssetCaches& assets) : assets_(assets) {
    world.SetRow(3, start.gate().world.Row(3));
    current = start;
    current.MoveNext();
    trail.fill({world, world, world});
    for (EnemyUnit& unit : units) unit = EnemyUnit(NextUnitSeed());
    for (HudVertex& v : spriteQuad) v = {0, 0, 0, 0xFFFFFFFF, 0, 0};
}

void Enemy::Activate() {
    released = true;
    world = current.gate().world;
    current.MoveNext();
}

bool Enemy::Update(const UpdateContext& context) {
    if (!released) return false;
    std::copy_backward(trail.begin(), trail.end() - 1, trail.end());
    if (mode == EnemyMode::Route)
        FlyRoute(context.mapWorld);
    else
        FlyChase(context.mapWorld, context.player);

    // The camera as it was last set; the explosion sprites turn to it.
    const Vec3 camera = CameraPosition();
    bool touched = false;
    for (int i = 0; i < kUnitCount; ++i) {
        EnemyUnit& unit = units[i];
        if (!unit.alive) continue;
        if (unit.dying)
            UpdateDying(unit, camera);
        else
            touched |= UpdateUnit(i, context.bullets, context.player, context.score, camera);
    }
    return touched;
}

void Enemy::FlyRoute(const Matrix& mapWorld) {
    // The enemy's own passing test, against the small panel of its route gates; the game
    // scene's test with the main gate panel runs as well. An end gate is never passed here:
    // the game scene moves the enemy onto the main course there.
    const CheckPoint& passing = current.gate();
    const Matrix gateInverse = MatrixInverse(passing.world);
    const Vec3 origin = Vec3TransformCoord(world.Row(3), gateInverse);
    const Vec3 ahead = Vec3TransformNormal(Vec3TransformNormal({0, 0, 1}, world), gateInverse);
    const RayHit hit = assets_.models.Get(kRouteGateModel)->Intersect(origin, ahead);
    if (hit.hit && hit.distance < kPassDistance && passing.kind != checkpoint_kind::kEnd) current.MoveNext();

    const CheckPoint& gate = current.gate();
    if (const std::optional<Matrix> facing = Facing(world.Row(3), gate.world.Row(3), OwnUp(world))) world = *facing;
    LocalMover::MoveForward(world, kRouteSpeed);

    // The outline cools from orange once the enemy first heads for a trigger gate.
    if (gate.kind == checkpoint_kind::kTrigger) heat -= kHeatStep;
    if (heat < 0.75f) heat = std::max(0.0f, heat - kHeatStep);
    if (gate.kind == checkpoint_kind::kEnd) mode = EnemyMode::Chase;

    LocalMover::FollowGround(world, mapWorld, *assets_.models.Get(kRouteMap));
    TrailEntry& entry = trail[0];
    entry = {world, world, world};
    LocalMover::MoveSideways(entry.left, -kSideLine);
    LocalMover::MoveSideways(entry.right, kSideLine);
}

void Enemy::FlyChase(const Matrix& mapWorld, const CharaBase& player) {
    const CheckPoint& gate = current.gate();
    TurnTowardsGate(world, turn, kChaseTurnStep, gate.world.Row(3), gate.kind == checkpoint_kind::kEnd);

    // Sweep the other way whenever the player has drawn further away since the last look.
    if (measureCountdown < 0) {
        const float distance = Vec3Length(player.world.Row(3) - world.Row(3));
        if (distance > lastDistance) sideAccel = -sideAccel;
        lastDistance = distance;
        measureCountdown = kMeasureInterval;
    }
    --measureCountdown;
    sideSpeed = std::clamp(sideSpeed + sideAccel, -1.0f, 1.0f);

    // Hold back while heading for a later gate than the player, catch up otherwise.
    speed += player.current < current ? -paceStep : paceStep;
    speed = std::clamp(speed, kMinSpeed, kMaxSpeed);

    const Model& map = *assets_.models.Get(kChaseMap);
    LocalMover::MoveSideways(world, sideSpeed);
    LocalMover::MoveForward(world, speed);
    LocalMover::FollowGround(world, mapWorld, map);
    TrailEntry& entry = trail[0];
    entry = {world, world, world};
    LocalMover::MoveSideways(entry.left, -kSideLine);
    LocalMover::FollowGround(entry.left, mapWorld, map);
    LocalMover::MoveSideways(entry.right, kSideLine);
    LocalMover::FollowGround(entry.right, mapWorld, map);
}

bool Enemy::UpdateUnit(int index, BulletPool& bullets, const CharaBase& player, int* score, Vec3 cameraPosition) {
    EnemyUnit& unit = units[index];
    const float s = std::sin(static_cast<float>(unit.phase) * kWeaveStep) * Amplitude(index);
    if (++unit.phase > kLastPhase) unit.phase = 0;

    const TrailEntry& a = trail[index];
    const TrailEntry& b = trail[index + 2];
    const Matrix centre = BlendPose(a.centre, b.centre, unit.lag);
    if (s > 0)
        unit.world = BlendPose(centre, BlendPose(a.left, b.left, unit.lag), s);
    else
        unit.world = BlendPose(centre, BlendPose(a.right, b.right, unit.lag), -s);
    const Vec3 at = unit.world.Row(3);

    const bool touched = Vec3Length(player.world.Row(3) - at) < kTouchDistance;

    // A shot in flight detonates on the unit; only a blast destroys it.
    for (Shot& shot : bullets.shots) {
        if (!shot.active) continue;
        const Vec3 from = shot.world.Row(3);
        if (Vec3Length(at - from) >= shot.size + kShotReach) continue;
        if (!shot.exploding) {
            shot.exploding = true;
            continue;
        }
        unit.knockback = Vec3Normalize(at - from);
        unit.dying = true;
        // The sprite faces the camera from the first frame it is drawn.
        unit.billboard = Billboard(unit, cameraPosition);
        if (score) *score += kUnitScore;
        break;
    }
    return touched;
}

void Enemy::UpdateDying(EnemyUnit& unit, Vec3 cameraPosition) {
    unit.spinYaw += unit.spinRate;
    unit.spinPitch += unit.spinRate;
    unit.spinRoll += unit.spinRate;
    unit.rise -= kRiseFall;
    unit.world = MatrixTranslation(0, unit.rise, 0) * MatrixTranslation(unit.knockback.x, unit.knockback.y, unit.knockback.z) *
                 unit.world;
    unit.flashFrameTime += kFlashStep;
    unit.flashFrame = static_cast<int>(unit.flashFrameTime);
    if (unit.flashFrame > kLastFlashFrame) {
        unit.flashFrame = kLastFlashFrame;
        unit.flashFrameTime = static_cast<float>(kLastFlashFrame);
    }
    unit.billboard = Billboard(unit, cameraPosition);
    if (unit.dyingUpdates++ >= kDyingUpdates) unit.alive = false;
}

void Enemy::Draw() {
    if (!released) return;
    GameEffects& effects = GameEffects::Instance();
    const Model* model = assets_.models.Get(kUnitModel);
    const Vec4 outline{1.0f, heat, 0.2f, 1.0f};
    for (const EnemyUnit& unit : units) {
        if (!unit.alive) continue;
        if (!unit.dying) {
            effects.simpleShader.Draw(model, unit.world);
            effects.modelShader.DrawOutline(model, unit.world, kOutlineSize, outline);
            continue;
        }
        const Matrix tumble =
            MatrixRotationYawPitchRoll(unit.spinYaw * kDegToRad, unit.spinPitch * kDegToRad, unit.spinRoll * kDegToRad);
        effects.simpleShader.Draw(model, tumble * unit.world);
        DrawSprite(unit);
    }
}

void Enemy::DrawSprite(const EnemyUnit& unit) {
    RenderDevice& device = *GraphicsDevice::Instance().device;
    // Added over the picture, unlit, without hiding what lies behind. The HudVertex draw
    // carries its own vertex format.
    RenderStateGuard flash(device);
    flash.Blend(BlendMode::Additive).Lighting(false).DepthWrite(false);

    // Frame f of the strip of 16 laid side by side.
    const float u0 = static_cast<float>(unit.flashFrame) / kFlashFrames;
    const float u1 = static_cast<float>(unit.flashFrame + 1) / kFlashFrames;
    const float corners[4][2] = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}};
    const float us[4] = {u0, u1, u1, u0};
    const float vs[4] = {0, 0, 1, 1};
    for (int k = 0; k < 4; ++k) {
        HudVertex& v = spriteQuad[k];
        v.x = corners[k][0];
        v.y = corners[k][1];
        v.z = 0;
        v.u = us[k];
        v.v = vs[k];
    }
    device.SetTexture(0, assets_.textures.Get(kSpriteTexture)->texture);
    device.SetTransform(TransformType::World,
                        MatrixScaling(kSpriteHalfSize, kSpriteHalfSize, kSpriteHalfSize) * unit.billboard);
    device.DrawPrimitiveUP(PrimitiveType::TriangleFan, spriteQuad.data(), 4);
}
