// A test fixture with a real window and the OpenGL device under the test display, the game's
// effects loaded, and one frame of the real pipeline run with drawing given by the test.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "app/application.hpp"
#include "app/scene_manager.hpp"
#include "graphics/game_effects.hpp"
#include "graphics/graphics_device.hpp"
#include "platform/window/dialogs.hpp"
#include "platform/window/window.hpp"

namespace render_test {

using namespace platform;

constexpr int kW = 1280, kH = 720;

struct Pixel {
    int r, g, b, a;
};

class GlFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!std::getenv("DISPLAY")) return;
        setenv("ALSOFT_DRIVERS", "null", 1);
        SetDialogHandler([](const DialogRequest& r) {
            ADD_FAILURE() << "unexpected box: " << r.caption << ": " << r.text;
            return DialogAnswer::No;
        });
        std::string why;
        window = Window::Create("-KORVELIN- render test", kW, kH, &why).release();
        ASSERT_NE(window, nullptr) << why;
        ASSERT_TRUE(GraphicsDevice::Instance().Create(*window, kW, kH, SurfaceFormat::X8R8G8B8, false));
        GraphicsDevice::Instance().SetDefaultStates();
        const auto previous = std::filesystem::current_path();
        std::filesystem::current_path(KORVELIN_SOURCE_DIR "/assets");
        GameEffects& effects = GameEffects::Instance();
        effects.simpleShader.Create();
        effects.modelShader.Create();
        effects.blurFilter.Create();
        std::filesystem::current_path(previous);
    }
    static void TearDownTestSuite() {
        if (!window) return;
        GameEffects& effects = GameEffects::Instance();
        effects.simpleShader.Release();
        effects.modelShader.Release();
        effects.blurFilter.Release();
        GraphicsDevice::Instance().Release();
        delete window;
        window = nullptr;
        SetDialogHandler(nullptr);
    }
    void SetUp() override {
        if (!window) GTEST_SKIP() << "no display";
        GraphicsDevice::Instance().SetDefaultStates();
        device().SetTransform(TransformType::World, Matrix::Identity());
        device().SetTransform(TransformType::View, Matrix::Identity());
        device().SetTransform(TransformType::Projection, Matrix::Identity());
    }
    void TearDown() override {
        if (!window) return;
        EXPECT_TRUE(device().errors().empty()) << device().errors().front();
        device().ClearErrors();
    }
    static RenderDevice& device() { return *GraphicsDevice::Instance().device; }
    static Pixel At(const std::vector<uint8_t>& px, int x, int y, int width = kW) {
        const uint8_t* p = &px[(size_t(y) * width + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }

    // A scene whose drawing is given by the test.
    struct Scene : SceneBase {
        std::function<void()> draw3d, draw2d;
        Matrix view = Matrix::Identity();
        SceneId Update(const Controls&) override { return sceneId; }
        void PreDraw() override { device().SetTransform(TransformType::View, view); }
        void Draw3D() override {
            if (draw3d) draw3d();
        }
        void Draw2D() override {
            if (draw2d) draw2d();
        }
    };
    // Runs one frame of the real pipeline with the given drawing, the 3D picture at `scale` of
    // the back buffer, and returns the back buffer.
    std::vector<uint8_t> Frame(std::function<void()> draw3d, std::function<void()> draw2d,
                               std::vector<uint8_t>* glow = nullptr, const Matrix& view = Matrix::Identity(),
                               float scale = 1.0f) {
        SceneManager manager([&](SceneId id, GameServices&) {
            auto s = std::make_unique<Scene>();
            s->sceneId = id;
            s->draw3d = draw3d;
            s->draw2d = draw2d;
            s->view = view;
            return s;
        });
        manager.Init();
        manager.pipeline().SetRenderScale(scale);
        manager.Draw();
        std::vector<uint8_t> back = device().ReadPixels(kBackBuffer);
        if (glow) *glow = device().ReadPixels(manager.pipeline().glowTarget().texture);
        device().Present(kW, kH);
        manager.Release();
        return back;
    }
    // A quad in clip space through the fixed-function path.
    static void ClipQuad(float x0, float y0, float x1, float y1, float z, Color color) {
        const HudVertex q[4] = {{x0, y1, z, color, 0, 0}, {x1, y1, z, color, 1, 0}, {x1, y0, z, color, 1, 1},
                                {x0, y0, z, color, 0, 1}};
        device().SetTransform(TransformType::Projection, Matrix::Identity());
        device().SetTexture(0, 0);
        device().DrawPrimitiveUP(PrimitiveType::TriangleFan, q, 4);
    }

    static inline Window* window = nullptr;
};




}  // namespace render_test
