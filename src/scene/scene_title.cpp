// The title screen.
#include "scene/scene_title.hpp"

#include <algorithm>
#include <string>
#include <utility>

#include "chara/controls.hpp"
#include "graphics/game_effects.hpp"
#include "graphics/graphics_device.hpp"
#include "platform/i18n/language.hpp"
#include "platform/trace/trace_writer.hpp"
#include "platform/window/dialogs.hpp"
#include "scene/best_runs.hpp"
#include "scene/game_assets.hpp"
#include "scene/game_options.hpp"
#include "scene/game_services.hpp"
#include "scene/scene_host.hpp"
#include "ui/title_hints.hpp"

using namespace platform;

namespace {
constexpr const char* kMusic = "data/sound/bgm.wav";
constexpr const char* kTitleModel = "data/model/Title.x";
}  // namespace

SceneTitle::SceneTitle(GameServices& services) : services_(services) {
    sceneId = kSceneTitle;
    best = BestScoreOfCourse();
    // Named on the first title only.
    crashReport = std::exchange(CurrentGameOptions().crashReport, {});
    SetProjection();
    // The camera stands 80 units before the tunnel's mouth, 15 up, looking 15 degrees down.
    const Matrix camera = MatrixTranslation(0, 15, -80) * MatrixRotationX(0.2617994f);
    GraphicsDevice::Instance().device->SetTransform(TransformType::View, MatrixInverse(camera));
}

void SceneTitle::SetProjection() const {
    const GraphicsDevice& gd = GraphicsDevice::Instance();
    const float aspect = float(gd.presentParams.backBufferWidth) / float(gd.presentParams.backBufferHeight);
    gd.device->SetTransform(TransformType::Projection,
                            MatrixPerspectiveFovLH(fieldOfView * kDegToRad, aspect, 0.01f, 1000.0f));
}

SceneId SceneTitle::Update(const Controls& controls) {
    services_.sound().PlayBgm(kMusic);
    // The game's maps take a while to read: start on them while the title runs.
    if (!prefetchStarted_) {
        PrefetchGameScene(services_.assets());
        prefetchStarted_ = true;
    }
    // A tap between two frames counts as well as a held key.
    if (controls.back) {
        // With unsaved gates in the overlay's editor the one question says what would be lost.
        DebugUi& overlay = services_.overlay();
        const bool quit = overlay.HasUnsavedGates()
                              ? overlay.MayQuit()
                              : AskYesNo(GraphicsDevice::Instance().window, Tr("Quit the game?"), Tr("Confirm"), false);
        if (quit) {
            GetSceneHost().EndProgram();
            return kSceneTitle;
        }
    }
    if (controls.start || CurrentGameOptions().autopilot) started = true;
    const bool moved = looked_ && (controls.lookX != lastLookX_ || controls.lookY != lastLookY_);
    looked_ = true;
    lastLookX_ = controls.lookX;
    lastLookY_ = controls.lookY;
    idle = controls.anyPress || moved || started ? 0 : idle + 1;
    if (idle >= kAttractAfter) return kSceneDemo;
    if (!started) return kSceneTitle;
    if (fieldOfView > 100.0f) fade += 3;
    scroll += 3.0f;
    fieldOfView += 0.3f;
    SetProjection();
    return fade > 255 ? kSceneGame : kSceneTitle;
}

void SceneTitle::WriteTrace(TraceWriter& trace) const {
    trace.Float("fov", fieldOfView);
    trace.Int("fade", fade);
}

void SceneTitle::Draw3D() {
    float& tunnelAngle = services_.kept().tunnelAngle;
    for (int step = 0; step < drawSteps; ++step) {
        scroll += 0.5f;
        tunnelAngle += 0.05f;
        if (scroll > kModelSpacing) scroll = 0.0f;
    }
    SimpleShader& shader = GameEffects::Instance().simpleShader;
    const Model* model = services_.assets().models.Get(kTitleModel);
    const Matrix turn = MatrixRotationZ(tunnelAngle * kDegToRad);
    for (int i = 0; i < kModelCount; ++i) {
        shader.Draw(model, MatrixTranslation(0, 0, float(i) * kModelSpacing - scroll) * turn);
    }
}

void SceneTitle::Draw2D() {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    TextureCache& pictures = services_.assets().textures;
    const Matrix back = MatrixTranslation(0, 0, 1);
    gd.DrawSprite(pictures.Get("data/Texture/back.png"), 0xFFFFFFFF, &back);
    // At twice the font's size, 100 pixels from the right; a face wider than the one this was
    // laid out for moves left just enough to keep the last digit on the screen.
    const char* kVersion = "Ver.1.1.0";
    const int textWidth = gd.font ? 2 * gd.font->Measure(kVersion).Width() : 0;
    const int x = std::min(gd.presentParams.backBufferWidth - 100, gd.presentParams.backBufferWidth - textWidth - 4);
    const Matrix version = MatrixScaling(2, 2, 0) * MatrixTranslation(float(x), float(gd.presentParams.backBufferHeight - 25), 0);
    gd.DrawText(kVersion, 0xFFFFFFFF, &version);
    const Matrix logo = MatrixTranslation(320, 100, 0);
    gd.DrawSprite(pictures.Get("data/Texture/title.png"), 0xFFFFFFFF, &logo);
    const Matrix start = MatrixTranslation(500, 500, 0);
    gd.DrawSprite(pictures.Get("data/Texture/start.png"), 0xFFFFFFFF, &start);
    DrawTitleHints(gd, crashReport);
    if (best) {
        const Matrix caption = MatrixTranslation(24, float(gd.presentParams.backBufferHeight - 108), 0);
        gd.DrawSprite(pictures.Get("data/texture/best.png"), 0xFFFFFFFF, &caption);
        gd.DrawNumber(pictures.Get("data/texture/number.png"), *best, 130, 0xFFFFFFFF,
                      MatrixScaling(0.35f, 0.35f, 1) *
                          MatrixTranslation(236, float(gd.presentParams.backBufferHeight - 94), 0));
    }
    const Matrix veil = MatrixTranslation(0, 0, 0);
    gd.DrawSprite(pictures.Get("data/Texture/white.png"), (uint32_t(fade) << 24) | 0xFFFFFF, &veil);
}
