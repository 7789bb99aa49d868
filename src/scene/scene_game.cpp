// The game scene's stand-in.
#include "scene/scene_game.hpp"

#include "graphics/graphics_device.hpp"
#include "platform/window/input.hpp"

SceneGame::SceneGame() { sceneId = kSceneGame; }

SceneId SceneGame::Update() {
    return platform::GetInput().KeyDown(platform::Key::Escape) ? kSceneTitle : kSceneGame;
}

void SceneGame::Draw2D() {
    Matrix at = MatrixScaling(2, 2, 1) * MatrixTranslation(40, 40, 0);
    GraphicsDevice::Instance().DrawText("The course is being built. Escape returns to the title.", 0xFFFFFFFF, &at);
}
