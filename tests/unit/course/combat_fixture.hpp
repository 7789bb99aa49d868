// A small world for the gun and its shots on the null device: a temporary game folder with the
// two effects, a flash picture and hand-made models, used as the working directory.
#pragma once

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <filesystem>
#include <vector>

#include "../mesh/x_file_test_files.hpp"
#include "course/bullet_pool.hpp"
#include "graphics/game_effects.hpp"
#include "graphics/graphics_device.hpp"
#include "graphics/model_cache.hpp"
#include "graphics/texture_cache.hpp"
#include "platform/null/null_render_device.hpp"
#include "platform/window/input.hpp"

// One triangle facing -z, so a bullet's draw (3 indices) tells itself from a square's (6).
inline const char* kTriangleX = R"(xof 0303txt 0032
Mesh Tri {
 3;
 0.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;0.0;0.0;;
 1;
 3;0,1,2;;
 MeshMaterialList { 1; 1; 0;; Material { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; } }
}
)";

class CombatTest : public ::testing::Test {
protected:
    // mapA is a 2 x 2 square across the z axis, mapB one across the line x = 10, both in the
    // plane z = 0 of the map's own frame.
    static constexpr float kMapBCentre = 10.0f;

    void SetUp() override {
        previous_ = std::filesystem::current_path();
        folder_.Write("Shader/Simple.fx", ReadText(KORVELIN_SOURCE_DIR "/assets/Shader/Simple.fx"));
        folder_.Write("Shader/Modelshader.fx", ReadText(KORVELIN_SOURCE_DIR "/assets/Shader/Modelshader.fx"));
        folder_.Write("data/model/mapA.x", SquareX(0.0f));
        folder_.Write("data/model/mapB.x", SquareX(0.0f, kMapBCentre));
        folder_.Write("data/model/explosion.x", SquareX(0.0f));
        folder_.Write("data/model/weapon.x", SquareX(0.0f));
        folder_.Write("data/model/bullet.x", kTriangleX);
        std::filesystem::create_directories(folder_.path / "data/texture");
        const std::vector<uint8_t> green(16 * 8 * 4, 128);
        stbi_write_png((folder_.path / "data/texture/green.png").c_str(), 16, 8, 4, green.data(), 16 * 4);
        std::filesystem::current_path(folder_.path);

        GraphicsDevice::Instance().CreateNull(1280, 720);
        GraphicsDevice::Instance().SetDefaultStates();
        GameEffects::Instance().simpleShader.Create();
        GameEffects::Instance().modelShader.Create();
        gModelCache = new ModelCache;
        gTextureCache = new TextureCache;
        platform::SetInput(&input);
        fireCooldown = 0;  // as at program start
    }
    void TearDown() override {
        platform::SetInput(nullptr);
        delete gTextureCache;
        gTextureCache = nullptr;
        delete gModelCache;
        gModelCache = nullptr;
        GameEffects::Instance().Release();
        GraphicsDevice::Instance().Release();
        std::filesystem::current_path(previous_);
    }

    static std::string ReadText(const char* path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    platform::NullRenderDevice& device() {
        return static_cast<platform::NullRenderDevice&>(*GraphicsDevice::Instance().device);
    }

    platform::ScriptedInput input;

private:
    TempFolder folder_{"korvelin-combat-test"};
    std::filesystem::path previous_;
};
