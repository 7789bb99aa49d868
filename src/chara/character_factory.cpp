// The character factory.
#include "chara/character_factory.hpp"

#include "chara/enemy.hpp"
#include "chara/player.hpp"

std::unique_ptr<CharaBase> CharacterFactory(std::string_view name, CoursePosition start) {
    if (name == "player") return std::make_unique<Player>(start.list());
    if (name == "enemy") return std::make_unique<Enemy>(start);
    return nullptr;
}
