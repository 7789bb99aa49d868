// What main, a headless run, a test or a benchmark chose for the application before it starts:
// how scenes are made, the developer overlay, where the game's files are, the pace and the sound.
#pragma once

#include <string>

#include "scene/scene_base.hpp"

struct RunConfig {
    // How scenes are made (the game's, or a test's).
    SceneFactory sceneFactory;
    // --dev: the developer overlay is drawn.
    bool developerOverlay = false;
    // The game runs from its installed data, which is not the user's to write.
    bool readOnlyGameFolder = false;
    // The folder the game was started in, before it moved to its data folder: paths the player
    // types are taken from there.
    std::string startFolder;
    // Frames last at least 16 ms; benchmarks and headless runs switch the wait off.
    bool paceFrames = true;
    // The sound manager opens the sound device; a headless run has nobody to hear it.
    bool soundDevice = true;
};
