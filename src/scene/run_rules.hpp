// The rules of a run between its characters and its course: a body that reaches the gate it
// heads for moves on to the next; the gate the player heads for, when a trigger, releases the
// next enemy (once); an enemy at its route's end joins the main course; the player at the goal
// ends the run; a strike costs a hit, and the third ends the run.
#pragma once

#include <memory>
#include <vector>

#include "chara/chara_base.hpp"
#include "course/course_file.hpp"
#include "scene/run_state.hpp"

class ModelCache;

class RunRules {
public:
    static constexpr float kPassDistance = 5.0f;    // a gate is passed when it is this close ahead
    static constexpr float kJoinDistance = 500.0f;  // an enemy joins the main course within this

    // The characters (the player first), the course and the models outlive the rules.
    RunRules(RunState& run, std::vector<std::unique_ptr<CharaBase>>& characters, const CourseList& course,
             ModelCache& models)
        : run_(run), characters_(characters), course_(course), models_(models) {}

    // Character `index` passes the gate it heads for when its ray meets the gate's panel close
    // ahead.
    void PassGateIfReached(size_t index);
    // The player was struck: a hit and the flash, unless one runs or the run is over.
    void Strike();
    // One step of the hit flash; the game runs it once per character visited.
    void FlashStep();

private:
    CharaBase& player() const { return *characters_[0]; }
    // A ray from the body along its forward axis meets the gate's panel closer than `limit`.
    bool RayMeetsGate(const Matrix& body, const CheckPoint& gate, float limit) const;
    void PassGate(size_t index);
    void ReleaseNextEnemy();
    void JoinMainCourse(CharaBase& enemy);

    RunState& run_;
    std::vector<std::unique_ptr<CharaBase>>& characters_;
    const CourseList& course_;
    ModelCache& models_;
};
