// What lives for the whole process beside the scenes: the sound, the two file caches, the
// developer overlay, and the few values a scene takes over from the last one of its kind. The
// scene manager owns the one GameServices and hands it to every scene it makes; nothing of it is
// reached as a global.
#pragma once

#include "editor/debug_ui.hpp"
#include "graphics/asset_caches.hpp"
#include "sound/sound_manager.hpp"

// Values kept from one scene to the next of its kind, so a new run or title goes on where the
// last one stopped.
struct KeptValues {
    float enemyGateSpin = 0.0f;  // degrees the enemy gates have turned; wraps at 360
    float goalGateSpin = 0.0f;   // degrees the goal gate has turned; never wraps
    float reticlePulse = 1.0f;   // scale of the reticle's shot pulse: 1 at rest, 2 right after a shot
    float tunnelAngle = 0.0f;    // degrees the title's tunnel has turned
    int fireCooldown = 0;        // updates since the last shot, capped at 20
};

class GameServices {
public:
    // Opens the sound device (or runs silent, also when `soundDevice` is false: headless runs
    // open none) and makes the empty caches and the overlay, on or off. The graphics device must
    // exist, and outlive the services.
    GameServices(bool overlayOn, bool soundDevice);
    ~GameServices();
    GameServices(const GameServices&) = delete;
    GameServices& operator=(const GameServices&) = delete;

    SoundManager& sound() { return sound_; }
    AssetCaches& assets() { return assets_; }
    DebugUi& overlay() { return overlay_; }
    const DebugUi& overlay() const { return overlay_; }
    KeptValues& kept() { return kept_; }

private:
    SoundManager sound_;
    AssetCaches assets_;
    DebugUi overlay_;
    KeptValues kept_;
};
