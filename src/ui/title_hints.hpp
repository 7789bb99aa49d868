// The hints the title shows of what else there is: how to reach the options, small in the bottom
// left corner (the best score and the version keep the other corners), and across the top, on
// the first title after a crash, where that crash's report is.
#pragma once

#include <string>

class GraphicsDevice;

// Drawn in the title's sprite pass. `crashReport`: none when empty.
void DrawTitleHints(GraphicsDevice& gd, const std::string& crashReport);
