// The play scene: one run along the course, from the opening zoom out of the white to the return
// to the title. It owns the player and the enemies, the chase camera, the gun and its shots,
// and the course they fly. Update, 3D drawing and the HUD live in their own files.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "chara/camera.hpp"
#include "chara/chara_base.hpp"
#include "chara/mouse.hpp"
#include "course/bullet_pool.hpp"
#include "course/course_file.hpp"
#include "course/course_position.hpp"
#include "course/weapon.hpp"
#include "platform/types/render_types.hpp"
#include "scene/scene_base.hpp"

struct Controls;
class Pilot;
class Texture;

// Reads and checks the course a run would play, as the game scene does, against the map and the
// gate models of `models`: empty when it can be played, else "FILE: what is wrong".
std::string CheckGameCourse(ModelCache& models);

class SceneGame : public SceneBase {
public:
    static constexpr float kPassDistance = 5.0f;    // a gate is passed when it is this close ahead
    static constexpr float kJoinDistance = 500.0f;  // an enemy joins the main course within this
    static constexpr int kFlashLength = 400;        // hit-flash timer, falling by 2 per step
    static constexpr int kFadeStartFrame = 380;     // frames after the run's end
    static constexpr int kLeaveFrame = 500;

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

    std::unique_ptr<Mouse> mouse;
    std::unique_ptr<Camera> camera;
    std::unique_ptr<Weapon> weapon;
    std::unique_ptr<BulletPool> bullets;
    std::vector<std::unique_ptr<CharaBase>> characters;  // the player first, then one enemy per spawn gate
    CourseList course;                                   // never changed after construction

    int introActive = 1;        // the opening fade and zoom run
    int runOver = 0;            // the goal is reached or the player destroyed
    int fadeAlpha = 255;        // the white veil, 0 ... 255
    float introFov = 180.0f;    // degrees, during the opening
    int endFrames = 0;          // frames since the run ended
    Matrix mapWorld = Matrix::Identity();
    Matrix skyBase = Matrix::Identity();
    Matrix skyWorld = Matrix::Identity();
    Matrix scorePanelAnchor = MatrixTranslation(6.2f, 2.0f, 5.0f);  // camera space, result pose
    Matrix lifePanelAnchor = MatrixTranslation(4.2f, 0.0f, 5.0f);
    int steerTilt = 0;          // degrees the HUD panels lean, -15 ... 15; rests at 1
    int damageActive = 0;       // the hit flash runs
    int damageAlpha = 0;
    int damageTimer = 0;
    int enemiesReleased = 0;
    int hitsLeft = 2;           // below 0 the player is destroyed
    int bestPlace = 0;          // the finished run's place among the best (1 the best); 0 none
    int lives = 3;              // life icons; the player moves only while above 0
    std::array<platform::HudVertex, 4> hudQuad{};
    int shownScore = 0;         // counts up towards score by 21 a frame
    int score = 0;              // enemies add 100 per unit destroyed
    int shownResult = 0;        // counts up by 215 on the result screen
    CoursePosition lastTrigger;  // the trigger gate that last released an enemy

private:
    // A ray from the body along its forward axis meets the gate's mesh closer than `limit`.
    bool RayMeetsGate(const Matrix& body, const CheckPoint& gate, float limit) const;
    bool Leave();
    void AimGun(Vec3 point, const Controls& controls);
    void PassGate(size_t index);
    void ReleaseNextEnemy();
    void JoinMainCourse(CharaBase& enemy);
    void TakeHit();
    void RunFlashStep();
    void RunBranch();
    void SteerTilt(const Controls& controls);
    // Turns the camera by the cursor and draws the cursor back towards the middle.
    void KeepFinishedRun();
    void DrawBestPlace();
    void MouseLook(const Controls& controls);

    void DrawGates();
    void DrawPanels();
    void DrawVeilAndFrames();
    void DrawBars();
    template <typename PoseOfStep>
    void DrawDigits(const Texture* glyphs, int value, PoseOfStep poseOfStep);
    void DrawLives(float t);
    void DrawResult();
    // One camera-fixed quad from x0..x1, y0..y1 with the texture's pixel rectangle.
    void DrawHudQuad(const Texture* texture, float x0, float x1, float y0, float y1, const float texel[4],
                     const Matrix& world, platform::Color color = 0xFFFFFFFF);
    void DrawReticle();
    Texture* Picture(const char* file);

    GameServices& services_;
    std::string courseError_;
    std::unique_ptr<Pilot> pilot_;  // flies the run in the player's place, when asked to
    bool demo_ = false;             // the attract mode's run
    bool runKept_ = false;          // the finished run was offered to the best list
    CursorOffset cursor_;     // where this update left the cursor, from the middle of the picture
    bool fireHeld_ = false;   // the fire control of this update
};
