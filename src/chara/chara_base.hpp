// Every moving body of the race, the player and each enemy: a world matrix it flies with and
// the gate of the course it heads for. The game scene keeps them in a list, the player first,
// and drives them through these five operations.
#pragma once

#include "course/course_position.hpp"
#include "math/math.hpp"

class BulletPool;
class CharaBase;
struct Controls;

// What one update of a character may look at, and where an enemy adds its points. The player
// uses the map, its lives and the controls; an enemy the map, the shots, the player and the score.
struct UpdateContext {
    const Matrix& mapWorld;
    BulletPool& bullets;
    const CharaBase& player;
    int* score;  // null: the points go nowhere
    int lives;   // the player moves only while above 0
    const Controls& controls;
};

class CharaBase {
public:
    virtual ~CharaBase() = default;

    // One update. True when the player was struck during it.
    virtual bool Update(const UpdateContext& context) = 0;
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
