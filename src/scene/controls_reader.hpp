// The one place the game asks the input for its controls: the snapshot of an update.
#pragma once

#include "chara/controls.hpp"
#include "platform/input/input.hpp"

// The middle of the back buffer in the input's screen coordinates: where the look is measured
// from.
platform::Point PictureMiddle(platform::Input& input);

// The controls of one update. `middle` is the middle of the picture in the input's screen
// coordinates; the look is the cursor's offset from it. Reading forgets the presses of every key
// seen since the last snapshot, so it is made exactly once per update. `feel` is the player's
// look, handed on with the snapshot.
Controls ReadControls(platform::Input& input, platform::Point middle, const LookFeel& feel = {});
