// The game scene. For now a stand-in that returns to the title on Escape.
#pragma once

#include "app/scene_base.hpp"

class SceneGame : public SceneBase {
public:
    SceneGame();
    SceneId Update() override;
    void Draw3D() override {}
    void Draw2D() override;
    void PreDraw() override {}
};
