// The process's services.
#include "scene/game_services.hpp"

GameServices::GameServices(bool overlayOn, bool soundDevice) : sound_(soundDevice) { overlay_.enabled = overlayOn; }

GameServices::~GameServices() {
    // Sound first, as the game has always let go: then nothing plays while the files go.
    sound_.Release();
    assets_.ReleaseAll();
    overlay_.Release();
}
