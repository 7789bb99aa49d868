// korvelin-contact-sheet: renders every model from three angles, every picture, views along
// the course, the title and moments of combat in a played run through the game's own device,
// effects and frame pipeline, and writes them as models.png, pictures.png, course.png,
// title.png and combat.png (or only the one --only names). Needs an X display (Xvfb will do)
// and the game folder with its data/ and Shader/.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/application.hpp"
#include "graphics/game_effects.hpp"
#include "app/scene_manager.hpp"
#include "frame_runner.hpp"
#include "graphics/graphics_device.hpp"
#include "korvelin_version.hpp"
#include "platform/window/dialogs.hpp"
#include "platform/input/input.hpp"
#include "scene/scene_factory.hpp"
#include "sheet_layout.hpp"
#include "sheets.hpp"

namespace {

constexpr const char* kUsage =
    "usage: korvelin-contact-sheet --game-dir DIR --out DIR [--only SHEET.png]\n"
    "       korvelin-contact-sheet --help | --version\n";

void Fail(const std::string& message) { std::fprintf(stderr, "korvelin-contact-sheet: %s\n", message.c_str()); }

// The window, the device with its default states and the effects, without the start-up
// question: the sheets are always drawn windowed at the game's size.
bool StartGraphics(std::string* why) {
    Application& app = Application::Instance();
    app.window = platform::Window::Create("-KORVELIN- contact sheet", contact_sheet::kFrameWidth,
                                          contact_sheet::kFrameHeight, why);
    if (!app.window) return false;
    platform::SetInput(&app.window->input());
    GraphicsDevice& gd = GraphicsDevice::Instance();
    if (!gd.Create(*app.window, contact_sheet::kFrameWidth, contact_sheet::kFrameHeight, SurfaceFormat::X8R8G8B8,
                   false)) {
        *why = "no usable OpenGL 3.3 device";
        return false;
    }
    gd.SetDefaultStates();
    GameEffects& effects = GameEffects::Instance();
    effects.simpleShader.Create();
    effects.modelShader.Create();
    effects.blurFilter.Create();
    if (!effects.simpleShader.effect.valid() || !effects.modelShader.effect.valid() || !effects.blurFilter.valid()) {
        *why = "an effect did not load (is Shader/ in the game folder?)";
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string gameDir, outDir, only;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--game-dir" || arg == "--out" || arg == "--only") && i + 1 < argc) {
            (arg == "--game-dir" ? gameDir : arg == "--out" ? outDir : only) = argv[++i];
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--version") {
            std::puts("korvelin-contact-sheet " KORVELIN_VERSION);
            return 0;
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (gameDir.empty() || outDir.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        Fail("no DISPLAY: run it under X, for example Xvfb");
        return 1;
    }
    std::error_code ec;
    const std::filesystem::path out = std::filesystem::absolute(outDir, ec);
    std::filesystem::create_directories(out, ec);
    if (ec || !std::filesystem::is_directory(out)) {
        Fail("cannot make the output folder " + outDir);
        return 1;
    }
    // Effects, models and pictures are named relative to the game folder.
    if (chdir(gameDir.c_str()) != 0) {
        Fail("cannot enter the game folder " + gameDir + ": " + std::strerror(errno));
        return 1;
    }
    setenv("ALSOFT_DRIVERS", "null", 0);  // the title wants its music; nobody needs to hear it
    setenv("SDL_VIDEODRIVER", "x11", 0);  // the X display named by DISPLAY, never a stand-in
    // A box (an effect that fails to compile) is reported and answered with its default.
    platform::SetDialogHandler([](const platform::DialogRequest& r) {
        Fail("box \"" + r.caption + "\": " + r.text);
        if (r.buttons == platform::DialogButtons::Ok) return platform::DialogAnswer::Ok;
        return r.defaultYes ? platform::DialogAnswer::Yes : platform::DialogAnswer::No;
    });

    std::string why;
    if (!StartGraphics(&why)) {
        Fail(why);
        Application::Instance().Shutdown();
        return 1;
    }
    int status = 0;
    {
        // The game's own manager: its light, projection, glow target and caches, and the title
        // scene, which is drawn first; the other sheets then put scenes of their own in its place.
        SceneManager manager(CreateGameScene);
        manager.Init();
        FrameRunner runner(manager);
        using Writer = bool (*)(FrameRunner&, const std::string&, std::string*);
        const std::pair<const char*, Writer> sheets[] = {{"title.png", WriteTitleSheet},
                                                         {"models.png", WriteModelSheet},
                                                         {"pictures.png", WritePictureSheet},
                                                         {"course.png", WriteCourseSheet},
                                                         {"combat.png", WriteCombatSheet},
                                                         {"run.png", WriteRunSheet}};
        for (const auto& [name, write] : sheets) {
            if (!only.empty() && only != name) continue;
            std::string error;
            if (write(runner, out.string(), &error)) {
                std::printf("%s\n", (out / name).c_str());
            } else {
                Fail(name + std::string(": ") + error);
                status = 1;
            }
        }
        if (runner.errorCount() > 0) {
            Fail(std::to_string(runner.errorCount()) + " device errors while drawing");
            status = 1;
        }
        manager.Release();
    }
    Application::Instance().Shutdown();
    return status;
}
