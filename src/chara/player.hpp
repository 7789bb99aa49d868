// The player's craft. (Stand-in declaration so the factory builds; the real craft replaces it.)
#pragma once

#include "chara/chara_base.hpp"

class Player : public CharaBase {
public:
    explicit Player(CoursePosition start);
    int Update(const Matrix& mapWorld, BulletPool& bullets, const CharaBase& player, int* score, int lives) override;
    void Draw() override;
    void OnCheckpointPassed() override;

    float turn = 1.0f;
    float bank = 0.0f;
};
