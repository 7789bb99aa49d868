// A fixture for characters on the real generated world: the game folder as working directory,
// the null device, the model cache, the plain lit effect, scripted input and the course.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "course/bullet_pool.hpp"
#include "course/course_file.hpp"
#include "graphics/game_effects.hpp"
#include "graphics/graphics_device.hpp"
#include "graphics/model_cache.hpp"
#include "platform/window/input.hpp"

class GameFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(KORVELIN_GAME_DIR);
        GraphicsDevice::Instance().CreateNull(1280, 720);
        GameEffects::Instance().simpleShader.Create();
        gModelCache = new ModelCache();
        input.windowOrigin = {100, 50};
        platform::SetInput(&input);
        ASSERT_TRUE(LoadCourse(kCourseFile, course).Ok());
        ASSERT_GE(course.size(), 2u);
    }
    void TearDown() override {
        platform::SetInput(nullptr);
        delete gModelCache;
        gModelCache = nullptr;
        GameEffects::Instance().simpleShader.Release();
        GraphicsDevice::Instance().Release();
        std::filesystem::current_path(previous);
    }
    // Distance from the body's position to the ground along its own down axis (-1: no ground).
    static float HeightAbove(const Matrix& world, const char* map = "data/model/mapA.x") {
        const platform::RayHit hit = gModelCache->Get(map)->Intersect(world.Row(3), Vec3TransformNormal({0, -1, 0}, world));
        return hit.hit ? hit.distance : -1.0f;
    }

    std::filesystem::path previous;
    platform::ScriptedInput input;
    CourseList course;
    BulletPool bullets;
    int score = 0;
};
