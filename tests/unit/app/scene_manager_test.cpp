// The scene manager on the null device: switching, the managers' lifetime, the order of the
// frame's draw pipeline, the parameter uploads, and effects that failed to load.
#include "app/scene_manager.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "app/application.hpp"
#include "editor/debug_ui.hpp"
#include "graphics/graphics_device.hpp"
#include "graphics/model_cache.hpp"
#include "graphics/texture_cache.hpp"
#include "platform/null/null_render_device.hpp"
#include "platform/window/dialogs.hpp"
#include "platform/window/input.hpp"
#include "sound/sound_manager.hpp"

using namespace platform;

namespace {

std::vector<std::string> gLog;

// A scene that writes every call into gLog and asks for `next` on Update.
class RecordingScene : public SceneBase {
public:
    RecordingScene(SceneId id, bool managersAtConstruction) : managersSeen(managersAtConstruction) {
        sceneId = id;
        gLog.push_back("construct " + std::to_string(id));
        next = id;
    }
    ~RecordingScene() override { gLog.push_back("destroy " + std::to_string(sceneId)); }
    SceneId Update() override {
        gLog.push_back("update " + std::to_string(sceneId));
        return next;
    }
    void PreDraw() override {
        gLog.push_back("predraw " + std::to_string(sceneId));
        GraphicsDevice::Instance().device->SetTransform(TransformType::View, view);
    }
    void Draw3D() override {
        gLog.push_back("draw3d " + std::to_string(sceneId));
        const HudVertex quad[4] = {{-1, -1, 5, 0xFFFFFFFF, 0, 0}, {1, -1, 5, 0xFFFFFFFF, 1, 0},
                                   {1, 1, 5, 0xFFFFFFFF, 1, 1}, {-1, 1, 5, 0xFFFFFFFF, 0, 1}};
        GraphicsDevice::Instance().device->DrawPrimitiveUP(PrimitiveType::TriangleFan, quad, 4);
    }
    void Draw2D() override { gLog.push_back("draw2d " + std::to_string(sceneId)); }

    SceneId next;
    bool managersSeen;
    Matrix view = MatrixLookAtLH({10, 20, -30}, {0, 0, 0}, {0, 1, 0});
};

RecordingScene* gCurrent = nullptr;

std::unique_ptr<SceneBase> MakeScene(SceneId id) {
    auto scene = std::make_unique<RecordingScene>(id, gSoundManager != nullptr);
    gCurrent = scene.get();
    return scene;
}

class SceneManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "null", 1);
        SetDialogHandler([this](const DialogRequest& r) {
            dialogs.push_back(r.caption + ": " + r.text);
            return DialogAnswer::Ok;
        });
        GraphicsDevice::Instance().CreateNull(1280, 720);
        GraphicsDevice::Instance().SetDefaultStates();
        gLog.clear();
    }
    void TearDown() override {
        Application& app = Application::Instance();
        app.simpleShader.Release();
        app.modelShader.Release();
        app.blurFilter.Release();
        GraphicsDevice::Instance().Release();
        SetDialogHandler(nullptr);
    }
    // The effects as shipped with the game.
    void CreateEffects(const std::string& folder) {
        const auto previous = std::filesystem::current_path();
        std::filesystem::current_path(folder);
        Application& app = Application::Instance();
        app.simpleShader.Create();
        app.modelShader.Create();
        app.blurFilter.Create();
        std::filesystem::current_path(previous);
    }
    NullRenderDevice& device() { return static_cast<NullRenderDevice&>(*GraphicsDevice::Instance().device); }

    std::vector<std::string> dialogs;
};

TEST_F(SceneManagerTest, TitleComesFirstAndTheManagersExistBeforeTheFirstUpdate) {
    SceneManager manager(MakeScene);
    manager.Init();
    ASSERT_NE(gCurrent, nullptr);
    EXPECT_FALSE(gCurrent->managersSeen) << "the title is made before the managers";
    EXPECT_EQ(manager.scene->sceneId, kSceneTitle);
    EXPECT_NE(gSoundManager, nullptr);
    EXPECT_NE(gModelCache, nullptr);
    EXPECT_NE(gTextureCache, nullptr);
    ASSERT_NE(gDebugUi, nullptr);
    EXPECT_EQ(gDebugUi->enabled, 0);
    // Light 0 and the projection are the manager's.
    Light light = device().GetLight(0);
    EXPECT_EQ(light.direction, Vec3(0, -1, 0));
    EXPECT_EQ(light.ambient, (ColorValue{0.5f, 0.5f, 0.5f, 0}));
    EXPECT_NEAR(device().GetTransform(TransformType::Projection).m[1][1], 1.7320508f, 1e-5f);
    EXPECT_EQ(manager.glowTarget.Width(), 1280);
    EXPECT_EQ(manager.glowTarget.Height(), 720);
    manager.Release();
    EXPECT_EQ(gSoundManager, nullptr);
}

TEST_F(SceneManagerTest, SameIdKeepsTheSceneOtherIdReplacesItBeforeDrawing) {
    SceneManager manager(MakeScene);
    manager.Init();
    manager.Update();
    EXPECT_EQ(manager.scene->sceneId, kSceneTitle);
    gCurrent->next = kSceneGame;
    gLog.clear();
    manager.Update();
    manager.Draw();
    const std::vector<std::string> expected = {"update 0", "destroy 0", "construct 1", "predraw 1", "draw3d 1", "draw2d 1"};
    EXPECT_EQ(gLog, expected);
    manager.Release();
}

TEST_F(SceneManagerTest, FramePipelineRunsInOrder) {
    CreateEffects(KORVELIN_SOURCE_DIR "/assets");
    ASSERT_TRUE(dialogs.empty()) << dialogs.front();
    SceneManager manager(MakeScene);
    manager.Init();
    const std::string glow = std::to_string(manager.glowTarget.texture);
    const Application& app = Application::Instance();
    const std::string blur0 = std::to_string(app.blurFilter.targets[0].texture);
    const std::string blur1 = std::to_string(app.blurFilter.targets[1].texture);
    std::vector<std::string> trace;
    device().SetTrace(&trace);
    manager.Draw();
    device().SetTrace(nullptr);
    std::vector<std::string> expected = {
        "Clear 7", "SetRenderTarget 0 " + glow, "Clear 1", "SetRenderTarget 0 0", "SetRenderTarget 1 0",
        "SetRenderTarget 2 0", "SetRenderTarget 3 0", "BeginScene", "SetRenderTarget 1 " + glow,
        "DrawHud",  // the scene's 3D pass
        "SetRenderTarget 0 0", "SetRenderTarget 1 0", "SetRenderTarget 2 0", "SetRenderTarget 3 0",
        // reduce, then three times across and down
        "SetRenderTarget 0 " + blur1, "DrawScreen"};
    for (int i = 0; i < 3; ++i) {
        expected.insert(expected.end(), {"SetRenderTarget 0 " + blur0, "DrawScreen", "SetRenderTarget 0 " + blur1, "DrawScreen"});
    }
    expected.insert(expected.end(), {"SetRenderTarget 0 0", "DrawScreen", "EndScene"});
    EXPECT_EQ(trace, expected);

    // The 3D pass drew into the back buffer and the glow target at once; the composite drew
    // the blurred glow over the back buffer additively and the default blending came back.
    const auto& draws = device().draws();
    ASSERT_FALSE(draws.empty());
    EXPECT_EQ(draws.front().targets[0], kBackBuffer);
    EXPECT_EQ(draws.front().targets[1], manager.glowTarget.texture);
    const NullDraw& composite = draws.back();
    EXPECT_EQ(composite.texture0, app.blurFilter.targets[1].texture);
    EXPECT_EQ(composite.states[size_t(RenderState::DestBlend)], uint32_t(Blend::One));
    EXPECT_EQ(device().GetRenderState(RenderState::DestBlend), uint32_t(Blend::InvSrcAlpha));
    EXPECT_TRUE(device().errors().empty()) << device().errors().front();
    manager.Release();
}

TEST_F(SceneManagerTest, UploadsLightAndCameraIntoBothEffectsUnderTheirOwnNames) {
    CreateEffects(KORVELIN_SOURCE_DIR "/assets");
    SceneManager manager(MakeScene);
    manager.Init();
    manager.Draw();
    const Application& app = Application::Instance();
    auto values = [](const Effect& e, const char* name) {
        const std::vector<float>* v = e.GetValue(name);
        return v ? *v : std::vector<float>{};
    };
    // The simple effect gets a constant half grey; the model effect gets light 0's ambient.
    EXPECT_EQ(values(app.simpleShader.effect, "LightAmbient"), (std::vector<float>{0.5f, 0.5f, 0.5f, 0}));
    EXPECT_EQ(values(app.modelShader.effect, "LightAmbient"), (std::vector<float>{0.5f, 0.5f, 0.5f, 0}));
    EXPECT_EQ(values(app.simpleShader.effect, "LightSpecular"), (std::vector<float>{1, 1, 1, 0}));
    EXPECT_EQ(values(app.modelShader.effect, "LightSpeculer"), (std::vector<float>{1, 1, 1, 0}));
    EXPECT_TRUE(values(app.modelShader.effect, "LightSpecular").empty());
    EXPECT_EQ(values(app.simpleShader.effect, "LightDir"), (std::vector<float>{0, -1, 0}));
    EXPECT_EQ(values(app.modelShader.effect, "LightDir"), (std::vector<float>{0, -1, 0, 0}));
    // The camera is where the scene's view puts it: a float3 for one, (x, y, z, 1) for the other.
    std::vector<float> simpleCam = values(app.simpleShader.effect, "CamPos");
    std::vector<float> modelCam = values(app.modelShader.effect, "CamPos");
    ASSERT_EQ(simpleCam.size(), 3u);
    ASSERT_EQ(modelCam.size(), 4u);
    const float expected[] = {10, 20, -30};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(simpleCam[i], expected[i], 1e-3f);
        EXPECT_NEAR(modelCam[i], expected[i], 1e-3f);
    }
    EXPECT_EQ(modelCam[3], 1.0f);
    // The uploads reached the compiled programs by their uniform names.
    const std::vector<float>* mv = app.simpleShader.effect.GetValue("mV");
    ASSERT_NE(mv, nullptr);
    EXPECT_EQ(mv->size(), 16u);
    manager.Release();
}

TEST_F(SceneManagerTest, EffectsThatFailedToLoadAreHarmlessAndTheFrameStillDraws) {
    CreateEffects(std::filesystem::temp_directory_path());  // no Shader/ there
    ASSERT_EQ(dialogs.size(), 3u);
    for (const std::string& d : dialogs) {
        EXPECT_NE(d.find("シェーダコンパイルエラー"), std::string::npos);
        EXPECT_NE(d.find("Shader/"), std::string::npos) << "the message names the missing file: " << d;
    }
    SceneManager manager(MakeScene);
    manager.Init();
    manager.Update();
    manager.Draw();
    // Only the scene's own draw: no blur passes, no composite.
    EXPECT_EQ(device().draws().size(), 1u);
    EXPECT_TRUE(device().errors().empty());
    EXPECT_EQ(gLog.back(), "draw2d 0");
    manager.Release();
}

TEST_F(SceneManagerTest, ASceneThatDrawsNothingGivesAnOpaqueBlackFrame) {
    CreateEffects(KORVELIN_SOURCE_DIR "/assets");
    SceneManager manager([](SceneId id) -> std::unique_ptr<SceneBase> {
        struct Empty : SceneBase {
            SceneId Update() override { return sceneId; }
            void Draw3D() override {}
            void Draw2D() override {}
            void PreDraw() override {}
        };
        auto s = std::make_unique<Empty>();
        s->sceneId = id;
        return s;
    });
    manager.Init();
    manager.Draw();
    std::vector<uint8_t> pixels = device().ReadPixels(kBackBuffer);
    ASSERT_EQ(pixels.size(), 1280u * 720u * 4u);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        ASSERT_EQ(pixels[i] | pixels[i + 1] | pixels[i + 2], 0) << "pixel " << i / 4;
        ASSERT_EQ(pixels[i + 3], 255);
    }
    manager.Release();
}

TEST_F(SceneManagerTest, WheelLastsUntilPresentAndFramesAreCounted) {
    Application& app = Application::Instance();
    SceneManager manager(MakeScene);
    manager.Init();
    WindowEvent wheel;
    wheel.type = WindowEvent::Type::Wheel;
    wheel.wheelDelta = 120;
    app.WindowProc(wheel);
    wheel.wheelDelta = -120;
    app.WindowProc(wheel);  // the last message of the frame wins
    EXPECT_EQ(app.wheelDelta, -120);
    const int frames = app.frameCount;
    const int presents = device().presentCount();
    app.RunFrame(manager);
    EXPECT_EQ(app.wheelDelta, 0);
    EXPECT_EQ(app.frameCount, frames + 1);
    EXPECT_EQ(device().presentCount(), presents + 1);
    WindowEvent close;
    close.type = WindowEvent::Type::Close;
    app.WindowProc(close);
    EXPECT_TRUE(app.quitRequested);
    app.quitRequested = false;
    manager.Release();
}

// Two scenes that read keys as the game's do: scene 0 leaves on `leave`, scene 1 records the key
// states it sees in its updates.
class KeyScene : public SceneBase {
public:
    explicit KeyScene(SceneId id) { sceneId = id; }
    SceneId Update() override {
        Input& in = GetInput();
        if (sceneId == kSceneTitle) return in.KeyDown(Key::Escape) || leave ? kSceneGame : kSceneTitle;
        seen.push_back({in.AsyncKeyState(Key::Space), in.AsyncKeyState(Key::Escape)});
        return kSceneGame;
    }
    void Draw3D() override {}
    void Draw2D() override {}
    void PreDraw() override {}

    bool leave = false;
    std::vector<std::pair<int16_t, int16_t>> seen;  // (Space, Escape) per update
};

TEST_F(SceneManagerTest, KeysPressedForOneSceneDoNotActInTheNext) {
    ScriptedInput input;
    SetInput(&input);
    SceneManager manager([](SceneId id) { return std::make_unique<KeyScene>(id); });
    manager.Init();
    auto current = [&] { return static_cast<KeyScene*>(manager.scene.get()); };
    const int16_t kDown = static_cast<int16_t>(0x8000), kPressedAndDown = static_cast<int16_t>(0x8001);

    // A Space tapped while scene 0 runs (it does not read Space) is not seen by scene 1.
    input.Tap(Key::Space);
    current()->leave = true;
    manager.Update();
    ASSERT_EQ(manager.scene->sceneId, kSceneGame);
    manager.Update();
    EXPECT_EQ(current()->seen.at(0), std::make_pair(int16_t(0), int16_t(0)));
    // A new press after the switch counts as usual.
    input.Tap(Key::Space);
    manager.Update();
    EXPECT_EQ(current()->seen.at(1).first, 1);

    // The Escape that made scene 0 leave is still held: it reads as up in scene 1 until it is
    // released and pressed again.
    manager.scene = std::make_unique<KeyScene>(kSceneTitle);
    input.SetKey(Key::Escape, true);
    manager.Update();
    ASSERT_EQ(manager.scene->sceneId, kSceneGame);
    manager.Update();
    manager.Update();
    input.SetKey(Key::Escape, false);
    manager.Update();
    input.SetKey(Key::Escape, true);
    manager.Update();
    manager.Update();
    const std::vector<int16_t> escape = {0, 0, 0, kPressedAndDown, kDown};
    std::vector<int16_t> seen;
    for (const auto& s : current()->seen) seen.push_back(s.second);
    EXPECT_EQ(seen, escape);
    // Released and pressed again between two frames: a new press, seen at once.
    manager.scene = std::make_unique<KeyScene>(kSceneTitle);
    manager.Update();
    manager.Update();
    input.SetKey(Key::Escape, false);
    input.SetKey(Key::Escape, true);  // released and pressed between two frames
    manager.Update();
    EXPECT_EQ(current()->seen.back().second, kPressedAndDown);
    manager.Release();
    SetInput(nullptr);
}

}  // namespace
