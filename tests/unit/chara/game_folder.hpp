// The null world in the game folder for characters on the real generated map and course: the
// course read, a shot pool to hand the characters' updates, and the height above the ground.
#pragma once

#include <optional>

#include "course/bullet_pool.hpp"
#include "course/course_file.hpp"
#include "null_world.hpp"

class GameFolderTest : public NullWorld {
protected:
    void SetUp() override {
        EnterWorld();
        ASSERT_TRUE(LoadCourse(kCourseFile, course).Ok());
        ASSERT_GE(course.size(), 2u);
        bullets.emplace(assets(), kept().fireCooldown);
    }
    // Distance from the body's position to the ground along its own down axis (-1: no ground).
    float HeightAbove(const Matrix& world, const char* map = "data/model/mapA.x") {
        const platform::RayHit hit = models().Get(map)->Intersect(world.Row(3), Vec3TransformNormal({0, -1, 0}, world));
        return hit.hit ? hit.distance : -1.0f;
    }

    CourseList course;
    std::optional<BulletPool> bullets;  // drawing from the world's caches
    int score = 0;
};
