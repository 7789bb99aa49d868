// The player's craft.
#include "chara/player.hpp"

#include <algorithm>

#include "chara/mouse.hpp"
#include "course/course_check.hpp"
#include "editor/debug_ui.hpp"
#include "graphics/game_effects.hpp"
#include "graphics/model_cache.hpp"
#include "motion/local_mover.hpp"
#include "platform/window/input.hpp"

// The course layout and its checker time the routes by the player's speed.
static_assert(Player::kSpeed == route_timing::kPlayerSpeed);

using platform::Key;

namespace {
constexpr const char* kGround = "data/model/mapA.x";
constexpr const char* kEditorGround = "data/model/mapD.x";
constexpr const char* kModel = "data/model/chara.x";
}  // namespace

Player::Player(const CourseList& course) {
    current = CoursePosition(course, 0);
    world.SetRow(3, current.gate().world.Row(3) + Vec3{0, kStartHeight, 0});
    current.MoveNext();
}

int Player::Update(const Matrix& mapWorld, BulletPool&, const CharaBase&, int*, int lives) {
    platform::Input& input = platform::GetInput();
    // A held key settles the bank where the step and the tenth that decays balance: 15 degrees.
    bank -= bank / 10.0f;
    if (input.KeyDown(Key::A)) bank = std::min(kBankLimit, bank + kBankStep);
    if (input.KeyDown(Key::D)) bank = std::max(-kBankLimit, bank - kBankStep);

    if (gDebugUi && gDebugUi->enabled) {
        gDebugUi->FlyControls(world, mapWorld, *gModelCache->Get(kEditorGround));
        return 0;
    }
    const CheckPoint& gate = current.gate();
    TurnTowardsGate(world, turn, kTurnIncrement, gate.world.Row(3), gate.kind == checkpoint_kind::kEnd);
    LocalMover::FollowGround(world, mapWorld, *gModelCache->Get(kGround));
    if (lives > 0) {
        LocalMover::MoveForward(world, kSpeed);
        Mouse::ApplyStrafeKeys(world);
    }
    return 0;
}

void Player::Draw() {
    SimpleShader& shader = GameEffects::Instance().simpleShader;
    shader.effect.SetMatrix("mW", MatrixRotationZ(bank * kDegToRad) * world);
    shader.Draw(gModelCache->Get(kModel));
}
