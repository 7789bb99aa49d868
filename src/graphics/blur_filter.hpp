// The glow post-process: the glow target is reduced to half size, blurred three times
// horizontally then vertically, and drawn over the picture tinted by a colour.
#pragma once

#include "graphics/effect.hpp"
#include "graphics/texture.hpp"

class BlurFilter {
public:
    // Loads "Shader/Blur.fx" and makes the two half-size targets; on failure shows the
    // compiler's text and stays empty, and the frame's glow steps then do nothing.
    void Create();
    // The picture the glow is taken from is drawn at this size (the back buffer's, or smaller at
    // a render scale below 1): the two targets become half of it.
    void SetSourceSize(int width, int height);
    // Blurs `source`; the result is in targets[1]. Render target 0 is the same afterwards.
    void Blur(const Texture& source);
    // `source` stretched over the rectangle of the current render target with "Normaltech".
    void DrawFullScreen(const Texture& source, int x, int y, int width, int height, const Vec4& color);
    void Release();
    bool valid() const { return effect.valid() && targets[0].texture && targets[1].texture; }

    Effect effect;
    Texture targets[2];

private:
    void Pass(const char* technique, const Texture& source, const Texture& target);
};
