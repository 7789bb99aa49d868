// combat.png: the real game scene on the generated course, played with scripted input and a
// fixed unit seed, caught at the moments a player meets combat: the craft banking with A held,
// shots leaving the gun with its muzzle flash, an enemy chain weaving by the craft, a blast
// among the chain with the units' explosion sprites, and a shot's explosion near its widest,
// a little ahead of the craft. Hits are forgiven on the way, so the run never ends early and
// no hit flash covers the pictures.
#include <cstdio>
#include <memory>

#include "canvas.hpp"
#include "chara/enemy.hpp"
#include "frame_runner.hpp"
#include "platform/input/input.hpp"
#include "scene/controls_reader.hpp"
#include "scene/game_options.hpp"
#include "scene/scene_game.hpp"
#include "sheet_layout.hpp"
#include "sheets.hpp"

using namespace contact_sheet;
using platform::Key;

namespace {

constexpr uint64_t kSeed = 1;
constexpr int kLastFrame = 6000;       // the run is given up when a moment has not come by then
constexpr int kBankFrames = 30;        // A held: the bank has all but settled
constexpr int kShotsInFlight = 4;
constexpr int kChainOnScreen = 20;     // units of the first enemy in the picture
constexpr float kChainReach = 60.0f;   // ... and no further from the camera than this
constexpr int kBlastFrames = 10;       // from the blast to its picture
constexpr int kLateBlastFrames = 22;   // the explosion strip near its end
constexpr float kNearExplosionAhead = 110.0f;  // from the camera, when it is set off
constexpr float kNearExplosionAside = 15.0f;
constexpr int kNearExplosionFrames = 30;      // grown to 6.5 of its 10

// The game scene, its input and the frame counter; every update is followed by the camera's
// view, as the frame's draw would set it, so the explosion sprites turn to the right camera.
class CombatRun {
public:
    explicit CombatRun(GameServices& services) : previousInput_(&platform::GetInput()), previousOptions_(CurrentGameOptions()) {
        platform::SetInput(&input);
        CurrentGameOptions() = GameOptions{};
        CurrentGameOptions().seed = kSeed;
        game = std::make_unique<SceneGame>(services);
    }
    ~CombatRun() {
        game.reset();
        CurrentGameOptions() = previousOptions_;
        platform::SetInput(previousInput_);
    }

    // False when the run has ended or gone on too long.
    bool Step() {
        if (game->Update(ReadControls(input, PictureMiddle(input))) != game->sceneId || frame >= kLastFrame) return false;
        game->PreDraw();
        game->run().hitsLeft = 2;
        game->run().lives = 3;
        game->run().flash = HitFlash{};
        ++frame;
        return true;
    }
    template <typename Done>
    bool StepUntil(Done done) {
        while (!done())
            if (!Step()) return false;
        return true;
    }

    Enemy& enemy(size_t k) const { return static_cast<Enemy&>(*game->characters[k]); }

    platform::ScriptedInput input;
    std::unique_ptr<SceneGame> game;
    int frame = 0;

private:
    platform::Input* previousInput_;
    GameOptions previousOptions_;
};

// The camera's position and view direction.
Vec3 CameraAt(const SceneGame& g) { return g.camera->world.Row(3); }
Vec3 CameraAhead(const SceneGame& g) { return Vec3Normalize(g.camera->world.Row(2)); }

// Where a point lands in the picture: false behind the camera or outside the frame.
bool OnScreen(const SceneGame& g, Vec3 p) {
    const Vec3 inView = Vec3TransformCoord(p, g.camera->view);
    if (inView.z < 1.0f) return false;
    const Vec3 clip = Vec3TransformCoord(inView, g.camera->projection);
    return clip.x > -0.95f && clip.x < 0.95f && clip.y > -0.9f && clip.y < 0.9f;
}

// Units of enemy k in the picture and near enough to be seen as more than dots.
int ChainOnScreen(const CombatRun& run, size_t k) {
    int n = 0;
    for (const EnemyUnit& u : run.enemy(k).units)
        if (u.alive && !u.dying && OnScreen(*run.game, u.world.Row(3)) &&
            Vec3Length(u.world.Row(3) - CameraAt(*run.game)) < kChainReach)
            ++n;
    return n;
}

// The live unit of enemy k nearest the middle of the picture.
const EnemyUnit* UnitNearestTheMiddle(const CombatRun& run, size_t k) {
    const EnemyUnit* best = nullptr;
    float bestOff = 1e30f;
    for (const EnemyUnit& u : run.enemy(k).units) {
        if (!u.alive || u.dying || !OnScreen(*run.game, u.world.Row(3))) continue;
        const Vec3 clip = Vec3TransformCoord(u.world.Row(3), run.game->camera->view * run.game->camera->projection);
        const float off = clip.x * clip.x + clip.y * clip.y;
        if (off < bestOff) bestOff = off, best = &u;
    }
    return best;
}

// A shot of the pool set off at `at`: its explosion starts there in the next update.
void Detonate(SceneGame& g, int index, Vec3 at, float size) {
    Shot& s = g.bullets->shots[index];
    s = Shot{};
    s.world = MatrixTranslation(at.x, at.y, at.z);
    s.active = true;
    s.exploding = true;
    s.size = size;
}

int DyingUnits(const CombatRun& run, size_t k) {
    int n = 0;
    for (const EnemyUnit& u : run.enemy(k).units) n += u.alive && u.dying;
    return n;
}

}  // namespace

bool WriteCombatSheet(FrameRunner& runner, const std::string& outDir, std::string* error) {
    CombatRun run(runner.services());
    SceneGame& g = *run.game;
    if (!g.courseError().empty() || g.characters.size() < 2) {
        *error = g.courseError().empty() ? "the course has no enemy" : g.courseError();
        return false;
    }
    Canvas sheet(SheetWidth(kFrameWidth, kCombatColumns), SheetHeight(kFrameHeight, kCombatFrames, kCombatColumns),
                 kGutterColor);
    int tile = 0;
    const auto capture = [&](const std::string& caption) {
        char label[256];
        std::snprintf(label, sizeof label, "%d. frame %d: %s", tile + 1, run.frame, caption.c_str());
        const std::vector<uint8_t> frame = runner.LabelledFrame(g, label);
        sheet.Paste(frame, kFrameWidth, kFrameHeight, 0, 0, kFrameWidth, kFrameHeight, 1,
                    TileX(tile, kFrameWidth, kCombatColumns), TileY(tile, kFrameHeight, kCombatColumns));
        ++tile;
    };
    const auto fail = [&](const char* what) {
        *error = std::string("the run never came to ") + what + " (frame " + std::to_string(run.frame) + ")";
        return false;
    };

    // Out of the opening's white, then A held.
    if (!run.StepUntil([&] { return g.run().phase != RunPhase::Opening; })) return fail("the end of the opening");
    run.input.SetKey(Key::A, true);
    for (int i = 0; i < kBankFrames; ++i)
        if (!run.Step()) return fail("the bank");
    capture("A held - the craft and its gun bank left, the panels lean");
    run.input.SetKey(Key::A, false);

    // The button held until a shot has just left the gun with others ahead of it.
    run.input.SetKey(Key::LeftButton, true);
    const auto flying = [&] {
        int n = 0;
        for (const Shot& s : g.bullets->shots) n += s.active && !s.exploding;
        return n;
    };
    const auto justFired = [&] { return g.bullets->flashLeft == 7 || g.bullets->flashRight == 7; };
    if (!run.StepUntil([&] { return flying() >= kShotsInFlight && justFired(); })) return fail("shots in flight");
    capture("left button held - shots in flight, the newest one's muzzle flash");
    run.input.SetKey(Key::LeftButton, false);

    // The first enemy chasing with its chain in the picture.
    if (!run.StepUntil([&] { return run.enemy(1).mode == EnemyMode::Chase && ChainOnScreen(run, 1) >= kChainOnScreen; }))
        return fail("a chain in the picture");
    capture("the first enemy's chain of 40 weaves across the craft's path");

    // A blast in the middle of the chain.
    const EnemyUnit* target = UnitNearestTheMiddle(run, 1);
    if (!target) return fail("a unit to blow up");
    Detonate(g, 0, target->world.Row(3), 0.5f);
    for (int i = 0; i < kBlastFrames; ++i)
        if (!run.Step()) return fail("the blast");
    capture("a blast in the chain - " + std::to_string(DyingUnits(run, 1)) + " units tumble behind explosion sprites");
    for (int i = kBlastFrames; i < kLateBlastFrames; ++i)
        if (!run.Step()) return fail("the blast's end");
    capture("the same blast later - grown, the first wrecks tumbling up and away, more units caught");

    // Once the blast and its wrecks are gone, a shot bursting ahead of the craft, off its path
    // so that the craft does not fly into it, seen near its widest.
    if (!run.StepUntil([&] { return !g.bullets->shots[0].active && DyingUnits(run, 1) == 0; }))
        return fail("the end of the blast");
    const Vec3 right = Vec3Normalize(g.camera->world.Row(0));
    Detonate(g, 1, CameraAt(g) + CameraAhead(g) * kNearExplosionAhead + right * kNearExplosionAside, 0.5f);
    for (int i = 0; i < kNearExplosionFrames; ++i)
        if (!run.Step()) return fail("the explosion ahead");
    const int away = int(Vec3Length(g.bullets->shots[1].world.Row(3) - CameraAt(g)));
    capture("a shot's explosion near its widest, " + std::to_string(away) + " units from the camera");

    return sheet.WritePng(outDir + "/combat.png", error);
}
