// The process-wide effect set.
#include "graphics/game_effects.hpp"

GameEffects& GameEffects::Instance() {
    static GameEffects instance;
    return instance;
}

void GameEffects::Create() {
    simpleShader.Create();
    modelShader.Create();
    blurFilter.Create();
}

void GameEffects::Release() {
    simpleShader.Release();
    modelShader.Release();
    blurFilter.Release();
}
