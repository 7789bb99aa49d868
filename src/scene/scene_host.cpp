// The installed scene host.
#include "scene/scene_host.hpp"

namespace {

class IdleHost : public SceneHost {
public:
    void EndProgram() override {}
};

IdleHost idleHost;
SceneHost* installed = &idleHost;

}  // namespace

SceneHost& GetSceneHost() { return *installed; }

void SetSceneHost(SceneHost* host) { installed = host ? host : &idleHost; }
