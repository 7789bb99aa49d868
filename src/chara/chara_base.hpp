// Every moving body of the race, the player and each enemy: a world matrix it flies with and
// the gate of the course it heads for. The game scene keeps them in a list, the player first,
// and drives them through these five operations.
#pragma once

#include "course/course_position.hpp"
#include "math/math.hpp"

class BulletPool;
struct Controls;

class CharaBase {
public:
    virtual ~CharaBase() = default;

    // One update. The player uses mapWorld, lives and the controls; an enemy all but lives and
    // the controls, adding its points through *score. Non-zero when the player was struck
    // during this update.
    virtual int Update(const Matrix& mapWorld, BulletPool& bullets, const CharaBase& player, int* score, int lives,
                       const Controls& controls) = 0;
    virtual void Draw() = 0;
    // The game scene has moved `current` on by one.
    virtual void OnCheckpointPassed() {}
    virtual void EnterChase() {}
    // The game scene releases an enemy.
    virtual void Activate() {}

    Matrix world = Matrix::Identity();  // rows: own right, up, forward axes; row 3 the position
    CoursePosition current;             // the gate the body heads for

protected:
    CharaBase() = default;
};
