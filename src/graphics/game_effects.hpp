// The three effects every drawing part of the game uses: the plain lit effect, the model effect
// and the glow's blur. Created after the graphics device and released before it; one set per
// process, so characters, the gun and the overlay draw with the same effects as the scenes.
#pragma once

#include "graphics/blur_filter.hpp"
#include "graphics/model_shader.hpp"
#include "graphics/simple_shader.hpp"

class GameEffects {
public:
    static GameEffects& Instance();

    // Loads all three; a failed one shows its errors and stays empty (drawing with it does nothing).
    // True when all three are there.
    bool Create();
    void Release();

    SimpleShader simpleShader;
    ModelShader modelShader;
    BlurFilter blurFilter;

private:
    GameEffects() = default;
};
