// The title screen: backdrop, logo and start prompt; Space starts the game.
#pragma once

#include "app/scene_base.hpp"

class SceneTitle : public SceneBase {
public:
    SceneTitle();
    SceneId Update() override;
    void Draw3D() override;
    void Draw2D() override;
    void PreDraw() override;
};
