// The process's game options.
#include "scene/game_options.hpp"

GameOptions& GetGameOptions() {
    static GameOptions options;
    return options;
}
