// The game scene's HUD: camera-fixed panels drawn as quads a few units in front of the camera
// (side bars, score, lives, and after the run the veil, the empty frames and the result), and
// the sprites on top (the backdrop, the reticle with its shot pulse and the arrow towards the
// cursor, the result's caption and place, the hit flash, the demo's caption, the white fade).
// Its counters only show the run: the score counts up towards the run's, the result towards
// lives × 2000 plus the score, and the panels lean with the slide controls.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "chara/mouse.hpp"
#include "math/math.hpp"
#include "platform/render/font.hpp"
#include "platform/types/render_types.hpp"
#include "scene/run_state.hpp"

struct Controls;
class GameServices;
class Texture;

class GameHud {
public:
    // `demo`: the attract mode's run, with "DEMO" across the top.
    GameHud(GameServices& services, bool demo);

    // One update, after the run's: the shown score and the panels' lean.
    void Update(const Controls& controls, const RunState& run);
    // Inside the 3D pass, in front of the camera at `camera`; `steps` updates since the last
    // drawn frame.
    void DrawPanels(const RunState& run, const Matrix& camera, int steps);
    // Inside the sprite pass. `cursor`: where the update left it from the middle; `fireHeld`: the
    // fire control, which sounds a shot and swells the reticle every 12 frames.
    void DrawSprites(const RunState& run, CursorOffset cursor, bool fireHeld, int steps);
    // The white fade alone: a scene whose course cannot be played shows only that.
    void DrawFade(const RunState& run);
    // The finished run entered the best list but could not be kept: "NOT SAVED" in place of its
    // place, what failed, and where its recording is kept instead (none: empty).
    void ShowNotSaved(const std::string& reason, const std::string& keptAt);
    // Empty unless ShowNotSaved: its text, unwrapped.
    const std::string& notSaved() const { return notSavedText_; }

    int steerTilt = 0;    // degrees the panels lean, -15 ... 15; rests at 1
    int shownScore = 0;   // counts up towards the score by 21 an update
    int shownResult = 0;  // counts up by 215 an update on the result screen
    int bestPlace = 0;    // the finished run's place among the best (1 the best); 0 none
    std::array<platform::HudVertex, 4> quad{};  // reused for every panel quad

private:
    void DrawVeilAndFrames(const RunState& run, const Matrix& camera);
    void DrawBars(const Matrix& camera);
    template <typename PoseOfStep>
    void DrawDigits(const Texture* glyphs, int value, PoseOfStep poseOfStep);
    void DrawLives(const RunState& run, const Matrix& camera, float t);
    void DrawResult(const RunState& run, const Matrix& camera, int steps);
    // One camera-fixed quad from x0..x1, y0..y1 with the texture's pixel rectangle.
    void DrawQuad(const Texture* texture, float x0, float x1, float y0, float y1, const float texel[4],
                  const Matrix& world, platform::Color color = 0xFFFFFFFF);
    void DrawReticle(CursorOffset cursor, bool fireHeld, int steps);
    void DrawBestPlace();
    void DrawNotSaved();
    Texture* Picture(const char* file);

    GameServices& services_;
    bool demo_;
    Matrix scorePanelAnchor_ = MatrixTranslation(6.2f, 2.0f, 5.0f);  // camera space, result pose
    Matrix lifePanelAnchor_ = MatrixTranslation(4.2f, 0.0f, 5.0f);
    std::string notSavedText_;
    std::vector<std::string> notSaved_;          // the lines under "NOT SAVED"
    std::unique_ptr<platform::Font> noticeFace_;  // made for them only
};
