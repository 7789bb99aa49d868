// Makes the game's scenes by id: 0 the title, 1 the game.
#pragma once

#include "scene/scene_base.hpp"

std::unique_ptr<SceneBase> CreateGameScene(SceneId id, GameServices& services);
