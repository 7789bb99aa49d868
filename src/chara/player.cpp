// The player's craft. (Stand-in: waits at the first gate; the real craft replaces this file.)
#include "chara/player.hpp"

Player::Player(CoursePosition start) {
    world.SetRow(3, start.gate().world.Row(3));
    current = start;
    current.MoveNext();
}

int Player::Update(const Matrix&, BulletPool&, const CharaBase&, int*, int) { return 0; }
void Player::Draw() {}
void Player::OnCheckpointPassed() { turn = 0.0f; }
