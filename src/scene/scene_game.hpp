// The game scene's stand-in until the run itself is built: the craft flies the main course by
// itself under the chase camera, over the real maps and gates, with the music playing.
// Escape returns to the title.
#pragma once

#include <vector>

#include "scene/scene_base.hpp"
#include "course/course_file.hpp"

class SceneGame : public SceneBase {
public:
    static constexpr float kSpeed = 1.9f;         // units per frame along the course
    static constexpr float kGateDrop = 110.0f;    // main-course gates stand this far below the flight path
    static constexpr float kFlightHeight = 7.0f;  // above the ground

    SceneGame();
    SceneId Update() override;
    void Draw3D() override;
    void Draw2D() override;
    void PreDraw() override;
    void WriteTrace(platform::TraceWriter& trace) const override;

    // Where the craft is and where it heads (world units).
    Vec3 position() const { return position_; }
    size_t nextGate() const { return next_; }
    size_t gateCount() const { return path_.size(); }

private:
    void Restart();
    Matrix CraftWorld() const;

    CourseList course_;
    std::vector<Vec3> path_;  // the main course's flight path, one point per gate
    Vec3 position_;
    Vec3 heading_{0, 0, 1};
    size_t next_ = 1;
    float spin_ = 0.0f;  // degrees, for the spinning gates
};
