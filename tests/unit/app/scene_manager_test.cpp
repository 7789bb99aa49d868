// The scene manager on the null device: switching, the services it makes and hands to its
// scenes, the order of the frame's draw pipeline, the parameter uploads, effects that failed to
// load, and keys that do not carry from one scene to the next.
#include "app/scene_manager.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/application.hpp"
#include "null_world.hpp"

using namespace platform;

namespace {

std::vector<std::string> gLog;

// A scene that writes every call into gLog and asks for `next` on Update.
class RecordingScene : public SceneBase {
public:
    RecordingScene(SceneId id, GameServices& given) : services(&given) {
        sceneId = id;
        gLog.push_back("construct " + std::to_string(id));
        next = id;
    }
    ~RecordingScene() override { gLog.push_back("destroy " + std::to_string(sceneId)); }
    SceneId Update(const Controls&) override {
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
    GameServices* services;  // what the scene was made with
    Matrix view = MatrixLookAtLH({10, 20, -30}, {0, 0, 0}, {0, 1, 0});
};

RecordingScene* gCurrent = nullptr;

std::unique_ptr<SceneBase> MakeScene(SceneId id, GameServices& services) {
    auto scene = std::make_unique<RecordingScene>(id, services);
    gCurrent = scene.get();
    return scene;
}

class SceneManagerTest : public NullWorld {
protected:
    void SetUp() override {
        EnterWorld();
        gLog.clear();
    }
};

TEST_F(SceneManagerTest, TheServicesComeFirstAndTheTitleIsMadeWithThem) {
    for (const bool dev : {false, true}) {
        RunConfig config;
        config.sceneFactory = MakeScene;
        config.developerOverlay = dev;
        config.readOnlyGameFolder = dev;
        SceneManager manager(config);
        manager.Init();
        ASSERT_NE(gCurrent, nullptr);
        EXPECT_EQ(manager.scene->sceneId, kSceneTitle);
        EXPECT_EQ(gCurrent->services, &manager.services());
        // The overlay as the command line asked for it, and where its editor may save.
        EXPECT_EQ(manager.services().overlay().enabled, dev);
        EXPECT_EQ(manager.services().overlay().gameFolderReadOnly, dev);
        // Light 0 and the projection are the manager's.
        Light light = device().GetLight(0);
        EXPECT_EQ(light.direction, Vec3(0, -1, 0));
        EXPECT_EQ(light.ambient, (ColorValue{0.5f, 0.5f, 0.5f, 0}));
        EXPECT_NEAR(device().GetTransform(TransformType::Projection).m[1][1], 1.7320508f, 1e-5f);
        EXPECT_EQ(manager.pipeline().glowTarget().Width(), 1280);
        EXPECT_EQ(manager.pipeline().glowTarget().Height(), 720);
        manager.Release();
    }
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
    ASSERT_TRUE(questions.empty()) << questions.front().text;
    SceneManager manager(MakeScene);
    manager.Init();
    const std::string glow = std::to_string(manager.pipeline().glowTarget().texture);
    const std::string blur0 = std::to_string(GameEffects::Instance().blurFilter.targets[0].texture);
    const std::string blur1 = std::to_string(GameEffects::Instance().blurFilter.targets[1].texture);
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
    EXPECT_EQ(draws.front().targets[1], manager.pipeline().glowTarget().texture);
    const NullDraw& composite = draws.back();
    EXPECT_EQ(composite.texture0, GameEffects::Instance().blurFilter.targets[1].texture);
    EXPECT_EQ(composite.states[size_t(RenderState::DestBlend)], uint32_t(Blend::One));
    EXPECT_EQ(device().GetRenderState(RenderState::DestBlend), uint32_t(Blend::InvSrcAlpha));
    EXPECT_TRUE(device().errors().empty()) << device().errors().front();
    manager.Release();
}

TEST_F(SceneManagerTest, UploadsLightAndCameraIntoBothEffectsUnderTheirOwnNames) {
    SceneManager manager(MakeScene);
    manager.Init();
    manager.Draw();
    auto values = [](const Effect& e, const char* name) {
        const std::vector<float>* v = e.GetValue(name);
        return v ? *v : std::vector<float>{};
    };
    // The simple effect gets a constant half grey; the model effect gets light 0's ambient.
    EXPECT_EQ(values(GameEffects::Instance().simpleShader.effect, "LightAmbient"), (std::vector<float>{0.5f, 0.5f, 0.5f, 0}));
    EXPECT_EQ(values(GameEffects::Instance().modelShader.effect, "LightAmbient"), (std::vector<float>{0.5f, 0.5f, 0.5f, 0}));
    EXPECT_EQ(values(GameEffects::Instance().simpleShader.effect, "LightSpecular"), (std::vector<float>{1, 1, 1, 0}));
    EXPECT_EQ(values(GameEffects::Instance().modelShader.effect, "LightSpeculer"), (std::vector<float>{1, 1, 1, 0}));
    EXPECT_TRUE(values(GameEffects::Instance().modelShader.effect, "LightSpecular").empty());
    EXPECT_EQ(values(GameEffects::Instance().simpleShader.effect, "LightDir"), (std::vector<float>{0, -1, 0}));
    EXPECT_EQ(values(GameEffects::Instance().modelShader.effect, "LightDir"), (std::vector<float>{0, -1, 0, 0}));
    // The camera is where the scene's view puts it: a float3 for one, (x, y, z, 1) for the other.
    std::vector<float> simpleCam = values(GameEffects::Instance().simpleShader.effect, "CamPos");
    std::vector<float> modelCam = values(GameEffects::Instance().modelShader.effect, "CamPos");
    ASSERT_EQ(simpleCam.size(), 3u);
    ASSERT_EQ(modelCam.size(), 4u);
    const float expected[] = {10, 20, -30};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(simpleCam[i], expected[i], 1e-3f);
        EXPECT_NEAR(modelCam[i], expected[i], 1e-3f);
    }
    EXPECT_EQ(modelCam[3], 1.0f);
    // The uploads reached the compiled programs by their uniform names.
    const std::vector<float>* mv = GameEffects::Instance().simpleShader.effect.GetValue("mV");
    ASSERT_NE(mv, nullptr);
    EXPECT_EQ(mv->size(), 16u);
    manager.Release();
}

TEST_F(SceneManagerTest, EffectsThatFailedToLoadAreHarmlessAndTheFrameStillDraws) {
    std::filesystem::current_path(std::filesystem::temp_directory_path());  // no Shader/ there
    GameEffects::Instance().Create();
    ASSERT_EQ(questions.size(), 3u);
    for (const DialogRequest& q : questions) {
        EXPECT_EQ(q.caption, "Shader compile error");
        EXPECT_NE(q.text.find("Shader/"), std::string::npos) << "the message names the missing file: " << q.text;
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
    SceneManager manager([](SceneId id, GameServices&) -> std::unique_ptr<SceneBase> {
        struct Empty : SceneBase {
            SceneId Update(const Controls&) override { return sceneId; }
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

TEST_F(SceneManagerTest, EveryFrameIsCountedAndPresented) {
    Application& app = Application::Instance();
    SceneManager manager(MakeScene);
    manager.Init();
    const int frames = app.frameCount;
    const int presents = device().presentCount();
    app.RunFrame(manager);
    EXPECT_EQ(app.frameCount, frames + 1);
    EXPECT_EQ(device().presentCount(), presents + 1);
    manager.Release();
}

// Two scenes that read the controls as the game's do: scene 0 leaves on back or when told to,
// scene 1 records start and back as its updates see them.
class KeyScene : public SceneBase {
public:
    explicit KeyScene(SceneId id) { sceneId = id; }
    SceneId Update(const Controls& controls) override {
        if (sceneId == kSceneTitle) return controls.back || leave ? kSceneGame : kSceneTitle;
        seen.push_back({controls.start, controls.back});
        return kSceneGame;
    }
    void Draw3D() override {}
    void Draw2D() override {}
    void PreDraw() override {}

    bool leave = false;
    std::vector<std::pair<bool, bool>> seen;  // (start, back) per update
};

TEST_F(SceneManagerTest, KeysPressedForOneSceneDoNotActInTheNext) {
    SceneManager manager([](SceneId id, GameServices&) { return std::make_unique<KeyScene>(id); });
    manager.Init();
    auto current = [&] { return static_cast<KeyScene*>(manager.scene.get()); };

    // A Space tapped in the update in which scene 0 leaves is not seen by scene 1.
    input.Tap(Key::Space);
    current()->leave = true;
    manager.Update();
    ASSERT_EQ(manager.scene->sceneId, kSceneGame);
    manager.Update();
    EXPECT_EQ(current()->seen.at(0), std::make_pair(false, false));
    // A new press after the switch counts as usual.
    input.Tap(Key::Space);
    manager.Update();
    EXPECT_TRUE(current()->seen.at(1).first);

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
    std::vector<bool> back;
    for (const auto& s : current()->seen) back.push_back(s.second);
    EXPECT_EQ(back, (std::vector<bool>{false, false, false, true, true}));
    // Released and pressed again between two frames: a new press, seen at once.
    manager.scene = std::make_unique<KeyScene>(kSceneTitle);
    manager.Update();
    manager.Update();
    input.SetKey(Key::Escape, false);
    input.SetKey(Key::Escape, true);  // released and pressed between two frames
    manager.Update();
    EXPECT_TRUE(current()->seen.back().second);
    manager.Release();
}

}  // namespace
