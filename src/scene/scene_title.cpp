// The title screen.
#include "scene/scene_title.hpp"

#include "graphics/graphics_device.hpp"
#include "graphics/texture_cache.hpp"
#include "platform/window/input.hpp"

SceneTitle::SceneTitle() { sceneId = kSceneTitle; }

SceneId SceneTitle::Update() {
    return platform::GetInput().AsyncKeyState(platform::Key::Space) ? kSceneGame : kSceneTitle;
}

void SceneTitle::PreDraw() {}
void SceneTitle::Draw3D() {}

void SceneTitle::Draw2D() {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    if (!gTextureCache) return;
    Matrix back = MatrixTranslation(0, 0, 1);
    gd.DrawSprite(gTextureCache->Get("data/Texture/back.png"), 0xFFFFFFFF, &back);
    Matrix logo = MatrixTranslation(320, 100, 0);
    gd.DrawSprite(gTextureCache->Get("data/Texture/title.png"), 0xFFFFFFFF, &logo);
    Matrix start = MatrixTranslation(500, 500, 0);
    gd.DrawSprite(gTextureCache->Get("data/Texture/start.png"), 0xFFFFFFFF, &start);
    Matrix version = MatrixScaling(2, 2, 1) * MatrixTranslation(float(gd.presentParams.backBufferWidth - 100),
                                                               float(gd.presentParams.backBufferHeight - 25), 0);
    gd.DrawText("Ver.1.1.0", 0xFFFFFFFF, &version);
}
