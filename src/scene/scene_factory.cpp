// The game's scene factory.
#include "scene/scene_factory.hpp"

#include "scene/scene_game.hpp"
#include "scene/scene_title.hpp"

std::unique_ptr<SceneBase> CreateGameScene(SceneId id, GameServices& services) {
    switch (id) {
        case kSceneTitle: return std::make_unique<SceneTitle>(services);
        case kSceneGame: return std::make_unique<SceneGame>(services);
        case kSceneDemo: return std::make_unique<SceneGame>(services, true);
    }
    return nullptr;
}
