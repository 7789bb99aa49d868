// The files the game scene asks the caches for when it is built and in its first frames: the
// title has them read ahead while it runs, so that entering the game does not stall.
#pragma once

#include <string>
#include <vector>

// Every model the game scene uses: maps, sky, gate meshes of the passing tests, characters,
// gun, shots, explosions and the drawn gates.
const std::vector<std::string>& GameSceneModels();
// Every picture the game scene and its characters draw.
const std::vector<std::string>& GameScenePictures();

struct AssetCaches;

// Asks the model and texture caches to read the game scene's files ahead. Files already cached
// are skipped, so calling it again costs little.
void PrefetchGameScene(AssetCaches& assets);
