// The player's craft.
#include "chara/player.hpp"

#include <algorithm>

#include "chara/controls.hpp"
#include "course/course_check.hpp"
#include "graphics/game_effects.hpp"
#include "graphics/model_cache.hpp"
#include "motion/local_mover.hpp"

// The course layout and its checker time the routes by the player's speed.
static_assert(Player::kSpeed == route_timing::kPlayerSpeed);

namespace {
constexpr const char* kGround = "data/model/mapA.x";
constexpr const char* kModel = "data/model/chara.x";
}  // namespace

Player::Player(const CourseList& course, ModelCache& models) : models_(models) {
    current = CoursePosition(course, 0);
    world.SetRow(3, current.gate().world.Row(3) + Vec3{0, kStartHeight, 0});
    current.MoveNext();
}

bool Player::Update(const UpdateContext& context) {
    const Controls& controls = context.controls;
    // A held key settles the bank where the step and the tenth that decays balance: 15 degrees.
    bank -= bank / 10.0f;
    if (controls.slideLeft) bank = std::min(kBankLimit, bank + kBankStep);
    if (controls.slideRight) bank = std::max(-kBankLimit, bank - kBankStep);
    if (steeredByOverlay) return false;

    const CheckPoint& gate = current.gate();
    TurnTowardsGate(world, turn, kTurnIncrement, gate.world.Row(3), gate.kind == checkpoint_kind::kEnd);
    LocalMover::FollowGround(world, context.mapWorld, *models_.Get(kGround));
    if (context.lives > 0) {
        LocalMover::MoveForward(world, kSpeed);
        if (controls.slideLeft) LocalMover::MoveSideways(world, -kStrafeStep);
        if (controls.slideRight) LocalMover::MoveSideways(world, kStrafeStep);
    }
    return false;
}

void Player::Draw() {
    GameEffects::Instance().simpleShader.Draw(models_.Get(kModel), MatrixRotationZ(bank * kDegToRad) * world);
}
