// The craft the user flies: it flies forward on its own, turns towards each next gate of the
// main course and keeps 7 units above the map. The user only shifts it sideways with A and D,
// which also bank the model.
#pragma once

#include "chara/chara_base.hpp"

class ModelCache;

class Player : public CharaBase {
public:
    static constexpr float kStartHeight = 120.0f;  // above the first gate
    static constexpr float kSpeed = 1.9f;          // units per update
    static constexpr float kTurnIncrement = 0.03f; // a turn takes 34 updates
    static constexpr float kBankStep = 1.5f;       // degrees per update while A or D is held
    static constexpr float kBankLimit = 40.0f;     // degrees either way
    static constexpr float kStrafeStep = 1.5f;     // units per update while A or D is held

    // Facing +z, 120 above the course's first gate and heading for its second. The course must
    // hold at least one record and outlive the player; with a single record the player heads
    // for that one. Its models are read through `models`, which must outlive it too.
    Player(const CourseList& course, ModelCache& models);

    // Uses the map, its lives and the controls only; never true, the player never strikes
    // itself. With lives at 0 the craft hangs in place: it still turns and follows the ground,
    // and the slide controls still bank it. While steeredByOverlay only the bank moves.
    bool Update(const UpdateContext& context) override;
    // "data/model/chara.x" with the bank about the forward axis, through the plain lit effect.
    void Draw() override;
    // Starts a turn towards the gate `current` now names.
    void OnCheckpointPassed() override { turn = 0.0f; }

    float turn = 1.0f;  // blend factor of the running turn; 1 or more: cruising
    float bank = 0.0f;  // degrees of visual roll; positive raises the right side
    // The developer overlay's flight controls move the craft instead of its own steering.
    bool steeredByOverlay = false;

private:
    ModelCache& models_;
};
