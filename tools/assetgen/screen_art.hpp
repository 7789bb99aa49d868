// The look shared by the title screen and the icons: the dusk sky, its striped sun and the
// neon lettering of the logo.
#pragma once

#include "image.hpp"

// The dusk gradient at row y of a 720-row sky.
Rgba SkyGradient(float y);
// The sun over colour c at offset (dx, dy) from its centre: its glow, its disc and the bands cut
// through its lower half. `scale` is the size of the picture against the 1280 x 720 sky.
Rgba DuskSun(Rgba c, float dx, float dy, float radius, float scale);
// Neon text: outline, glow and a vertical gradient between `top` and `bottom`.
void NeonText(Image& img, const Mask& glyph, int ox, int oy, Rgba top, Rgba bottom, Rgba glow, int outline);
