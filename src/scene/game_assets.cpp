// The game scene's files.
#include "scene/game_assets.hpp"

#include "graphics/asset_caches.hpp"

const std::vector<std::string>& GameSceneModels() {
    // The big maps first: they take longest, and the game needs them in its first frame.
    static const std::vector<std::string> models = {
        "data/model/mapB.x", "data/model/mapA.x", "data/model/mapD.x", "data/model/Sky.x",
        "data/model/CheckPoint.x", "data/model/CheckPoint2.x", "data/model/chara.x", "data/model/enemy.x",
        "data/model/weapon.x", "data/model/bullet.x", "data/model/explosion.x", "data/model/gate.x",
        "data/model/Egate.x", "data/model/EgateS.x",
    };
    return models;
}

const std::vector<std::string>& GameScenePictures() {
    static const std::vector<std::string> pictures = {
        "data/texture/particle.png", "data/texture/green.png", "data/texture/number.png",
        "data/texture/resultnumber.png", "data/texture/life.png", "data/texture/emptylife.png",
        "data/texture/bar.png", "data/texture/black.png", "data/Texture/Target.png",
        "data/Texture/Target2.png", "data/Texture/Target3.png", "data/Texture/arrow.png",
        "data/Texture/damage.png", "data/Texture/result.png", "data/Texture/back.png",
        "data/Texture/white.png",
    };
    return pictures;
}

void PrefetchGameScene(AssetCaches& assets) {
    assets.models.Prefetch(GameSceneModels());
    assets.textures.Prefetch(GameScenePictures());
}
