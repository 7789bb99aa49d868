// Drawing the game scene's HUD.
#include "scene/game_hud.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "chara/controls.hpp"
#include "graphics/graphics_device.hpp"
#include "platform/i18n/language.hpp"
#include "motion/local_mover.hpp"
#include "scene/game_services.hpp"
#include "ui/question_panel.hpp"

using namespace platform;

namespace {

constexpr float kGlyphHalfWidth = 0.361111f;  // 130:180 digits, 2 units high
constexpr float kGlyphStep = 0.481481f;
constexpr float kIconHalfWidth = 1.44444f;    // 520:180 life icons
constexpr float kIconStep = 0.925926f;
constexpr float kWholeTexel[4] = {0, 0, 1, 1};

Color WithAlpha(int alpha) { return (static_cast<Color>(std::clamp(alpha, 0, 255)) << 24) | 0xFFFFFF; }

// A pixel rectangle of a picture as texture coordinates.
void TexelRect(const Texture* t, float left, float top, float right, float bottom, float out[4]) {
    const float w = t->imageInfo.width ? float(t->imageInfo.width) : 1.0f;
    const float h = t->imageInfo.height ? float(t->imageInfo.height) : 1.0f;
    out[0] = left / w;
    out[1] = top / h;
    out[2] = right / w;
    out[3] = bottom / h;
}

// Between the play pose and the result pose: rotations slerped, positions lerped.
Matrix PanelPose(const Matrix& step, const Matrix& play, const Matrix& result, float t) {
    return BlendPose(step * play, step * result, t);
}

}  // namespace

GameHud::GameHud(GameServices& services, bool demo) : services_(services), demo_(demo) {
    for (HudVertex& v : quad) v.color = 0xFFFFFFFF;
}

Texture* GameHud::Picture(const char* file) { return services_.assets().textures.Get(file); }

void GameHud::Update(const Controls& controls, const RunState& run) {
    if (shownScore < run.score) shownScore = std::min(shownScore + 21, run.score);
    // The panels lean with the slide controls and rest at 1.
    if (steerTilt > 1) --steerTilt;
    else if (steerTilt < 1) ++steerTilt;
    if (controls.slideRight) steerTilt = std::min(steerTilt + 2, 15);
    if (controls.slideLeft) steerTilt = std::max(steerTilt - 2, -15);
}

void GameHud::DrawQuad(const Texture* texture, float x0, float x1, float y0, float y1, const float texel[4],
                       const Matrix& world, Color color) {
    RenderDevice& d = *GraphicsDevice::Instance().device;
    quad[0] = {x0, y1, 0, color, texel[0], texel[1]};
    quad[1] = {x1, y1, 0, color, texel[2], texel[1]};
    quad[2] = {x1, y0, 0, color, texel[2], texel[3]};
    quad[3] = {x0, y0, 0, color, texel[0], texel[3]};
    d.SetTexture(0, texture->texture);
    d.SetTransform(TransformType::World, world);
    d.DrawPrimitiveUP(PrimitiveType::TriangleFan, quad.data(), 4);
    for (HudVertex& v : quad) v.color = 0xFFFFFFFF;
}

void GameHud::DrawPanels(const RunState& run, const Matrix& camera, int steps) {
    // 0 in play, 1 from the 70th frame after the run: the panels swing to their result places.
    const float t = std::clamp((float(run.endFrames) - 60.0f) / 10.0f, 0.0f, 1.0f);
    if (run.ended)
        DrawVeilAndFrames(run, camera);
    else
        DrawBars(camera);
    const Matrix scorePlay = MatrixRotationYawPitchRoll((float(steerTilt) + 35.0f) * kDegToRad, 5.0f * kDegToRad, 0) *
                             MatrixTranslation(6, -3, 5);
    DrawDigits(Picture("data/texture/number.png"), shownScore, [&](const Matrix& step) {
        return MatrixScaling(0.3f, 0.3f, 0) * PanelPose(step, scorePlay, scorePanelAnchor_, t) * camera;
    });
    DrawLives(run, camera, t);
    if (run.phase == RunPhase::Result) DrawResult(run, camera, steps);
}

void GameHud::DrawVeilAndFrames(const RunState& run, const Matrix& camera) {
    const Texture* black = Picture("data/texture/black.png");
    const float a = black->imageInfo.height ? float(black->imageInfo.width) / float(black->imageInfo.height) : 1.0f;
    DrawQuad(black, -a, a, -1, 1, kWholeTexel, MatrixScaling(10, 10, 0) * MatrixTranslation(0, 0, 5.5f) * camera,
             WithAlpha(std::min(3 * run.endFrames, 128)));
    const Texture* empty = Picture("data/texture/emptylife.png");
    float texel[4];
    TexelRect(empty, 0, 0, 520, 180, texel);
    for (int k = 0; k < 3; ++k)
        DrawQuad(empty, -kIconHalfWidth, kIconHalfWidth, -1, 1, texel,
                 MatrixScaling(0.3f, 0.3f, 0) * MatrixTranslation(kIconStep * float(k), 0, 0) * lifePanelAnchor_ *
                     camera);
}

void GameHud::DrawBars(const Matrix& camera) {
    const Texture* bar = Picture("data/texture/bar.png");
    const int w = int(bar->imageInfo.width), h = int(bar->imageInfo.height);
    if (h == 0) return;
    struct Place {
        Vec3 position;
        float yaw;
    };
    const Place places[4] = {{{5, -2.5f, 5.5f}, 35}, {{5, -3.4f, 5.5f}, 35}, {{-5, -2.5f, 5.5f}, -35}, {{-5, -3.4f, 5.5f}, -35}};
    for (const Place& p : places) {
        const Matrix world = MatrixTranslation(-0.5f * float(w) / float(h), 0, 0) * MatrixScaling(0.05f, 0.05f, 0) *
                             MatrixRotationY((float(steerTilt) + p.yaw) * kDegToRad) *
                             MatrixTranslation(p.position.x, p.position.y, p.position.z) * camera;
        DrawQuad(bar, 0, float(w / h), 0, 1, kWholeTexel, world);
    }
}

// The number's digits from the units leftwards; poseOfStep gives a digit's world matrix from
// its step to the left.
template <typename PoseOfStep>
void GameHud::DrawDigits(const Texture* glyphs, int value, PoseOfStep poseOfStep) {
    char text[12];
    const int length = std::snprintf(text, sizeof text, "%d", value);
    for (int k = 0, i = length - 1; i >= 0; --i, ++k) {
        if (text[i] < '0' || text[i] > '9') continue;
        const float left = 130.0f * float(text[i] - '0');
        float texel[4];
        TexelRect(glyphs, left, 0, left + 130.0f, 180, texel);
        DrawQuad(glyphs, -kGlyphHalfWidth, kGlyphHalfWidth, -1, 1, texel,
                 poseOfStep(MatrixTranslation(-kGlyphStep * float(k), 0, 0)));
    }
}

// Whole icons for the hits still to spare; the icon of the hit just taken fades with the flash.
void GameHud::DrawLives(const RunState& run, const Matrix& camera, float t) {
    const Texture* life = Picture("data/texture/life.png");
    float whole[4], losing[4];
    TexelRect(life, 0, 0, 520, 180, whole);
    TexelRect(life, 520, 0, 1040, 180, losing);
    const Matrix play = MatrixRotationYawPitchRoll((float(steerTilt) - 35.0f) * kDegToRad, -5.0f * kDegToRad, 0) *
                        MatrixTranslation(-6, -3, 5);
    for (int k = 0; k < run.lives; ++k) {
        const Matrix step = MatrixTranslation(kIconStep * float(k), 0, 0);
        const Matrix world = MatrixScaling(0.3f, 0.3f, 0) * PanelPose(step, play, lifePanelAnchor_, t) * camera;
        if (k <= run.hitsLeft)
            DrawQuad(life, -kIconHalfWidth, kIconHalfWidth, -1, 1, whole, world);
        else
            DrawQuad(life, -kIconHalfWidth, kIconHalfWidth, -1, 1, losing, world, WithAlpha(run.flash.alpha));
    }
}

// Lives are worth 2000 each on top of the score; the number counts up 215 an update.
void GameHud::DrawResult(const RunState& run, const Matrix& camera, int steps) {
    const int target = run.lives * 2000 + shownScore;
    if (shownResult < target) shownResult = std::min(shownResult + 215 * steps, target);
    DrawDigits(Picture("data/texture/resultnumber.png"), shownResult, [&](const Matrix& step) {
        return MatrixScaling(0.5f, 0.5f, 0) * step * MatrixTranslation(6, -2, 5) * camera;
    });
}

void GameHud::DrawSprites(const RunState& run, CursorOffset cursor, bool fireHeld, int steps) {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    // The backdrop goes first: sprites write depth, so the reticle's soft edge drawn before it
    // would cut holes into the sky behind the canyon.
    const Matrix back = MatrixTranslation(0, 0, 1);
    gd.DrawSprite(Picture("data/Texture/back.png"), 0xFFFFFFFF, &back);
    if (!run.ended) DrawReticle(cursor, fireHeld, steps);
    const Matrix origin = Matrix::Identity();
    if (run.ended) gd.DrawSprite(Picture("data/Texture/result.png"), 0xFFFFFFFF, &origin);
    if (run.ended && bestPlace > 0) DrawBestPlace();
    if (run.ended && !notSaved_.empty()) DrawNotSaved();
    gd.DrawSprite(Picture("data/Texture/damage.png"), WithAlpha(run.flash.alpha), &origin);
    if (demo_) {
        // Across the top, clear of the score and the lives below it.
        const Matrix caption = MatrixTranslation(float(gd.presentParams.backBufferWidth / 2 - 160), 24, 0);
        gd.DrawSprite(Picture("data/texture/demo.png"), 0xFFFFFFFF, &caption);
    }
    DrawFade(run);
}

void GameHud::DrawFade(const RunState& run) {
    const Matrix origin = Matrix::Identity();
    GraphicsDevice::Instance().DrawSprite(Picture("data/Texture/white.png"), WithAlpha(run.fadeAlpha), &origin);
}

// Left of the score's label, clear of the heading: "NEW BEST" for the best run yet, else
// "BEST" and the run's place.
void GameHud::DrawBestPlace() {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    if (bestPlace == 1) {
        const Matrix at = MatrixTranslation(40, 150, 0);
        gd.DrawSprite(Picture("data/texture/newbest.png"), 0xFFFFFFFF, &at);
        return;
    }
    const Matrix caption = MatrixTranslation(60, 160, 0);
    gd.DrawSprite(Picture("data/texture/best.png"), 0xFFFFFFFF, &caption);
    gd.DrawNumber(Picture("data/texture/number.png"), bestPlace, 130, 0xFFFFFFFF,
                  MatrixScaling(0.35f, 0.35f, 1) * MatrixTranslation(290, 174, 0));
}

// The reticle at the centre with its shot pulse, and the arrow from the cursor's offset.
void GameHud::DrawReticle(CursorOffset cursor, bool fireHeld, int steps) {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    const int w = gd.presentParams.backBufferWidth, h = gd.presentParams.backBufferHeight;
    const float cursorX = float(w / 2 + cursor.x), cursorY = float(h / 2 + cursor.y);
    const float cx = float(int(float(w) * 0.5f)), cy = float(int(float(h) * 0.5f));

    const float dx = cursorX - cx, dy = cursorY - cy;
    const float length = std::sqrt(dx * dx + dy * dy);
    const Vec3 dir = Vec3Normalize({dx, dy, 0});
    float angle = std::acos(std::clamp(-dir.y, -1.0f, 1.0f));
    if (dx < 0) angle = -angle;
    const int strength = int(std::min(length, 127.0f));

    const Matrix centre = MatrixTranslation(cx, cy, 0);
    const Matrix outer = MatrixTranslation(-26, -26, 0) * MatrixScaling(1.3f, 1.3f, 1) * MatrixRotationZ(3.1415927f) * centre;
    gd.DrawSprite(Picture("data/Texture/Target2.png"), 0xFFFFFFFF, &outer);
    const Matrix ring = MatrixTranslation(float(w - 650) * 0.5f, float(h - 650) * 0.5f, 0);
    gd.DrawSprite(Picture("data/Texture/Target.png"), 0xFFFFFFFF, &ring);
    // Holding the button sounds a shot every 12 frames, the pulse swelling with each.
    float& reticlePulse = services_.kept().reticlePulse;
    bool shot = false;
    for (int step = 0; step < steps; ++step) {
        if (reticlePulse < 1.0f) {
            reticlePulse = 1.0f;
            if (fireHeld) {
                reticlePulse = 2.0f;
                shot = true;
            }
        }
        reticlePulse -= 0.09f;
    }
    if (shot) services_.sound().PlayShot3D("data/sound/shot.wav");
    const Matrix pulse = MatrixTranslation(-26, -26, 0) * MatrixScaling(reticlePulse, reticlePulse, 1) *
                         MatrixRotationZ(3.1415927f) * centre;
    gd.DrawSprite(Picture("data/Texture/Target3.png"), 0xFFFFFFFF, &pulse);
    const Matrix arrow = MatrixTranslation(-25, -25, 0) * MatrixRotationZ(angle) * MatrixTranslation(cursorX, cursorY, 0);
    gd.DrawSprite(Picture("data/Texture/arrow.png"), WithAlpha(2 * strength), &arrow);
}

void GameHud::ShowNotSaved(const std::string& reason, const std::string& keptAt) {
    constexpr int kCellHeight = 22, kWidth = 440;  // left of the result's columns
    if (!noticeFace_) {
        noticeFace_ = std::make_unique<Font>(*GraphicsDevice::Instance().device);
        std::string why;
        if (!noticeFace_->Create("IPAPGothic", kCellHeight, &why)) noticeFace_.reset();
    }
    std::string text = reason;
    if (!keptAt.empty()) {
        char kept[1024];
        std::snprintf(kept, sizeof kept, Tr("The run's recording is kept as %s."), keptAt.c_str());
        text += std::string("\n") + kept;
    }
    const auto measure = [this](const std::string& line) {
        return noticeFace_ ? noticeFace_->Measure(line).Width() : int(line.size()) * kCellHeight / 2;
    };
    notSavedText_ = text;
    notSaved_ = WrapText(text, kWidth, measure);
}

// Where "NEW BEST" would stand, in the warning's red, and what failed under it on a dark panel
// that keeps it legible over the canyon.
void GameHud::DrawNotSaved() {
    constexpr float kLeft = 56, kTop = 268, kLine = 28, kMargin = 12, kWidth = 440;
    GraphicsDevice& gd = GraphicsDevice::Instance();
    const Matrix at = MatrixTranslation(40, 150, 0);
    gd.DrawSprite(Picture("data/texture/notsaved.png"), 0xFFFFFFFF, &at);
    if (!noticeFace_) return;
    const Texture* black = Picture("data/texture/black.png");
    if (black->imageInfo.width && black->imageInfo.height) {
        const float h = kLine * float(notSaved_.size()) + 2 * kMargin;
        const Matrix panel = MatrixScaling((kWidth + 2 * kMargin) / float(black->imageInfo.width),
                                           h / float(black->imageInfo.height), 1) *
                             MatrixTranslation(kLeft - kMargin, kTop - kMargin, 0);
        gd.DrawSprite(black, 0xA0FFFFFF, &panel);
    }
    float y = kTop;
    for (const std::string& line : notSaved_) {
        gd.sprite->SetTransform(MatrixTranslation(kLeft, y, 0));
        noticeFace_->Draw(*gd.sprite, line, 0xFFFFE8D8);
        y += kLine;
    }
}
