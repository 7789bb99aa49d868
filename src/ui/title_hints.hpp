// The hints the title shows of what else there is: how to reach the options, small in the bottom
// left corner (the best score and the version keep the other corners).
#pragma once

class GraphicsDevice;

// Drawn in the title's sprite pass.
void DrawTitleHints(GraphicsDevice& gd);
