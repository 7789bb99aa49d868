// The character factory.
#include "chara/character_factory.hpp"

#include "chara/enemy.hpp"
#include "chara/player.hpp"
#include "graphics/asset_caches.hpp"

std::unique_ptr<CharaBase> CharacterFactory(std::string_view name, CoursePosition start, AssetCaches& assets) {
    if (name == "player") return std::make_unique<Player>(start.list(), assets.models);
    if (name == "enemy") return std::make_unique<Enemy>(start, assets);
    return nullptr;
}
