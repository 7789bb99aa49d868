// run.png: the moments of a run that are not combat, played by the real game scene: the opening
// out of the white, a hit's red flash and its fading life icon, the shaking camera behind a
// destroyed craft, its result, and on a short course the swing to the end view and the result
// counting up after the goal.
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "canvas.hpp"
#include "frame_runner.hpp"
#include "platform/input/input.hpp"
#include "scene/controls_reader.hpp"
#include "scene/game_options.hpp"
#include "scene/scene_game.hpp"
#include "sheet_layout.hpp"
#include "sheets.hpp"

using namespace contact_sheet;

namespace {

constexpr uint64_t kSeed = 1;
constexpr int kLastFrame = 12000;

// A run of the game scene with nobody at the controls.
class QuietRun {
public:
    QuietRun(const std::string& course, GameServices& services)
        : previousInput_(&platform::GetInput()), previous_(CurrentGameOptions()) {
        platform::SetInput(&input_);
        CurrentGameOptions() = GameOptions{};
        if (!course.empty()) CurrentGameOptions().courseFile = course;
        CurrentGameOptions().seed = kSeed;
        game = std::make_unique<SceneGame>(services);
    }
    ~QuietRun() {
        game.reset();
        CurrentGameOptions() = previous_;
        platform::SetInput(previousInput_);
    }
    template <typename Done>
    bool StepUntil(Done done) {
        while (!done()) {
            if (game->Update(ReadControls(input_, PictureMiddle(input_))) != game->sceneId || ++frame > kLastFrame)
                return false;
            game->PreDraw();
        }
        return true;
    }

    std::unique_ptr<SceneGame> game;
    int frame = 0;

private:
    platform::ScriptedInput input_;
    platform::Input* previousInput_;
    GameOptions previous_;
};

// The first three gates of the game's main course, the third made the goal: a nearly straight
// course the craft finishes in a few hundred frames.
std::string WriteShortCourse(const std::string& outDir) {
    std::ifstream in(kCourseFile);
    std::ostringstream out;
    std::string line;
    for (int n = 0; n < 3 && std::getline(in, line);) {
        std::istringstream words(line);
        std::string kind, enemyNo, rest;
        words >> kind >> enemyNo;
        std::getline(words, rest);
        if (enemyNo != "0") continue;
        out << (n == 2 ? "2" : kind) << '\t' << enemyNo << rest << (n < 2 ? "\n" : "");
        ++n;
    }
    const std::string path = outDir + "/run_sheet_course.dat";
    std::ofstream(path) << out.str();
    return path;
}

}  // namespace

bool WriteRunSheet(FrameRunner& runner, const std::string& outDir, std::string* error) {
    Canvas sheet(SheetWidth(kFrameWidth, kRunColumns), SheetHeight(kFrameHeight, kRunFrames, kRunColumns), kGutterColor);
    int tile = 0;
    const auto capture = [&](QuietRun& run, const std::string& caption) {
        char label[256];
        std::snprintf(label, sizeof label, "%d. frame %d: %s", tile + 1, run.frame, caption.c_str());
        const std::vector<uint8_t> frame = runner.LabelledFrame(*run.game, label);
        sheet.Paste(frame, kFrameWidth, kFrameHeight, 0, 0, kFrameWidth, kFrameHeight, 1,
                    TileX(tile, kFrameWidth, kRunColumns), TileY(tile, kFrameHeight, kRunColumns));
        ++tile;
    };
    const auto fail = [&](const QuietRun& run, const char* what) {
        *error = std::string("the run never came to ") + what + " (frame " + std::to_string(run.frame) + ")";
        return false;
    };

    {
        QuietRun run("", runner.services());
        SceneGame& g = *run.game;
        if (!g.courseError().empty()) {
            *error = g.courseError();
            return false;
        }
        if (!run.StepUntil([&] { return g.run().fadeAlpha < 150; })) return fail(run, "the opening");
        capture(run, "the opening - the white lifts and the view zooms in");
        if (!run.StepUntil([&] { return g.run().flash.active && g.run().flash.timer <= 380; })) return fail(run, "a hit");
        capture(run, "a hit - the red flash, the third life icon fading with it");
        if (!run.StepUntil([&] { return g.run().ended && g.run().endFrames == 12; })) return fail(run, "the third hit");
        capture(run, "the third hit - the craft is gone, the camera shakes");
        if (!run.StepUntil([&] { return g.run().endFrames == 140; })) return fail(run, "the destroyed run's result");
        capture(run, "destroyed - the result counts the score alone");
    }
    {
        QuietRun run(WriteShortCourse(outDir), runner.services());
        SceneGame& g = *run.game;
        if (!g.courseError().empty()) {
            *error = g.courseError();
            return false;
        }
        if (!run.StepUntil([&] { return g.run().ended && g.run().endFrames == 10; })) return fail(run, "the goal");
        capture(run, "the goal - the camera swings round to the front");
        if (!run.StepUntil([&] { return g.run().endFrames == 112; })) return fail(run, "the result");
        capture(run, "after the goal - the result counts up 3 lives x 2000");
    }
    return sheet.WritePng(outDir + "/run.png", error);
}
