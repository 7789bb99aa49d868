// Runs single frames of the game's real draw pipeline (3D pass into the back buffer and the glow
// target, sprites, blurred glow added) with drawing supplied by a sheet, and reads them back.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/scene_manager.hpp"
#include "graphics/texture.hpp"
#include "scene/game_services.hpp"

// What one frame draws: PreDraw sets the view and projection, then the 3D and the sprite pass.
struct FrameDrawing {
    std::function<void()> preDraw;
    std::function<void()> draw3d;
    std::function<void()> draw2d;
};

class FrameRunner {
public:
    // The manager must be initialised (light, glow target, caches).
    explicit FrameRunner(SceneManager& manager);
    ~FrameRunner();

    // One frame of the manager's current scene; the back buffer, RGBA8 top row first.
    std::vector<uint8_t> SceneFrame();
    // Replaces the manager's scene with one that draws `drawing`, runs one frame and returns it.
    std::vector<uint8_t> Frame(const FrameDrawing& drawing);
    // One frame of a scene the sheet drives itself, with a label at the top-left.
    std::vector<uint8_t> LabelledFrame(SceneBase& scene, const std::string& label);

    // Inside the sprite pass: the text on a dark box with its top-left at (x, y), scaled.
    void Label(const std::string& text, float x, float y, float scale);
    // Inside the sprite pass: a w x h rectangle of one ARGB colour.
    void Box(float x, float y, float w, float h, uint32_t argb, float z = 0.0f);

    // Device errors seen so far, each reported on standard error as it appears.
    int errorCount() const { return errorCount_; }
    // The manager's services: the caches the sheets draw from, and what the game scenes get.
    GameServices& services() { return manager_.services(); }

private:
    std::vector<uint8_t> Finish();

    SceneManager& manager_;
    Texture white_;
    int errorCount_ = 0;
};
