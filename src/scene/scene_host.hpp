// What a scene may ask of the program that runs it. The application installs itself as the
// host; until then (tools, tests without an application) a host that ignores every request.
#pragma once

class SceneHost {
public:
    virtual ~SceneHost() = default;
    // The frame loop stops once the current frame is done.
    virtual void EndProgram() = 0;
};

// Never null.
SceneHost& GetSceneHost();
// Null restores the host that ignores every request.
void SetSceneHost(SceneHost* host);
