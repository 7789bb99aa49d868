// The play scene: one run along the course, from the opening zoom out of the white to the return
// to the title. It owns the player and the enemies, the chase camera, the gun and its shots, the
// course they fly, the run's state, its rules and its HUD. Update, 3D drawing, the HUD and the
// trace live in their own files.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chara/camera.hpp"
#include "chara/chara_base.hpp"
#include "chara/mouse.hpp"
#include "course/bullet_pool.hpp"
#include "course/course_file.hpp"
#include "course/weapon.hpp"
#include "scene/game_hud.hpp"
#include "scene/run_rules.hpp"
#include "scene/run_state.hpp"
#include "scene/scene_base.hpp"

struct Controls;
class Pilot;

// Reads and checks the course a run would play, as the game scene does, against the map and the
// gate models of `models`: empty when it can be played, else "FILE: what is wrong".
std::string CheckGameCourse(ModelCache& models);

class SceneGame : public SceneBase {
public:
    // Reads the course (the game's own, or the one given on the command line). A course that
    // cannot be played leaves the scene without characters: it shows the white of the
    // transition, and its first update says what is wrong and returns to the title. The gates'
    // spin, the reticle's pulse and the gun's wait go on from the last run (the services keep
    // them).
    // A demo run is flown by the pilot with "DEMO" on the screen, and any key or button ends
    // it at once.
    explicit SceneGame(GameServices& services, bool demo = false);
    ~SceneGame() override;
    // With the pilot flying, its controls take the place of the player's, but for back (Escape).
    SceneId Update(const Controls& controls) override;
    void Draw3D() override;
    void Draw2D() override;
    void PreDraw() override;
    // The run as a headless trace shows it, frame by frame, and its score and end.
    void WriteTrace(platform::TraceWriter& trace) const override;
    RunSummary Summary() const override;

    // Empty when the course can be played.
    const std::string& courseError() const { return courseError_; }
    CharaBase& player() const { return *characters[0]; }
    RunState& run() { return run_; }
    const RunState& run() const { return run_; }
    GameHud& hud() { return hud_; }
    const Matrix& mapWorld() const { return mapWorld_; }

    std::unique_ptr<Mouse> mouse;
    std::unique_ptr<Camera> camera;
    std::unique_ptr<Weapon> weapon;
    std::unique_ptr<BulletPool> bullets;
    std::vector<std::unique_ptr<CharaBase>> characters;  // the player first, then one enemy per spawn gate
    CourseList course;                                   // never changed after construction

private:
    bool Leave();
    void AimGun(Vec3 point, const Controls& controls);
    // The characters' updates with the rules between them, the overlay flying the craft.
    void UpdateCharacters(const Controls& controls);
    // The branch of the run's phase; the title's id when the run is done.
    SceneId UpdatePhase(const Controls& controls);
    void KeepFinishedRun();
    // Turns the camera by the cursor and draws the cursor back towards the middle.
    void MouseLook(const Controls& controls);
    void DrawGates();

    GameServices& services_;
    RunState run_;
    RunRules rules_;
    GameHud hud_;
    std::string courseError_;
    std::unique_ptr<Pilot> pilot_;  // flies the run in the player's place, when asked to
    bool demo_ = false;             // the attract mode's run
    bool runKept_ = false;          // the finished run was offered to the best list
    CursorOffset cursor_;           // where this update left the cursor, from the middle of the picture
    bool fireHeld_ = false;         // the fire control of this update
    Matrix mapWorld_ = Matrix::Identity();
    Matrix skyBase_ = Matrix::Identity();
    Matrix skyWorld_ = Matrix::Identity();
};
