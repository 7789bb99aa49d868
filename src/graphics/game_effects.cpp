// The process-wide effect set.
#include "graphics/game_effects.hpp"

#include "graphics/graphics_device.hpp"

GameEffects& GameEffects::Instance() {
    // The effects hold objects of the device, so the device must outlive them: made first, it
    // is destroyed last.
    GraphicsDevice::Instance();
    static GameEffects instance;
    return instance;
}

bool GameEffects::Create() {
    simpleShader.Create();
    modelShader.Create();
    blurFilter.Create();
    return simpleShader.effect.valid() && modelShader.effect.valid() && blurFilter.effect.valid();
}

void GameEffects::Release() {
    simpleShader.Release();
    modelShader.Release();
    blurFilter.Release();
}
