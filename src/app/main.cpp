// KORVELIN: the entry point. Reads the command line, starts the application (in its window, or
// headless on the null device), runs it, and shuts down in order.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include <unistd.h>

#include "app/application.hpp"
#include "app/game_folder.hpp"
#include "app/headless_run.hpp"
#include "app/launch_options.hpp"
#include "app/player_settings.hpp"
#include "korvelin_version.hpp"
#include "platform/crash/crash_report.hpp"
#include "platform/files/user_data_folder.hpp"
#include "platform/i18n/language.hpp"
#include "platform/window/dialogs.hpp"
#include "platform/input/input_recorder.hpp"
#include "platform/input/input_script.hpp"
#include "platform/input/script_player.hpp"
#include "scene/game_options.hpp"
#include "scene/scene_factory.hpp"

using namespace platform;

namespace {

bool gRunning = false;

// A library may end the program from inside a frame: Xlib does when the display goes away or
// refuses a request (a window destroyed under the game). The game's singletons would then be
// destroyed around a GL context in that state and abort; such an exit ends the process at
// once instead. The recording and the trace are flushed every frame, and stdio here.
// Only while the frames run: every other way out is the game's own and ends in order.
void EndAtOnceUnlessOrderly() {
    if (!gRunning) return;
    std::fflush(nullptr);
    std::_Exit(EXIT_FAILURE);
}

// The game reads data/ and Shader/ from its working directory. Started from somewhere else (a
// launcher, another folder), it moves to the folder that holds them: its own (the build tree)
// or the installed share folder beside its bin folder. Installed data is not the user's to
// write, so the editor then saves in the user's own folder. The folder it was started in is
// kept: the paths a player types into the editor are taken from there.
void EnterGameFolder(Application& app) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path working = fs::current_path(ec);
    app.config.startFolder = working.string();
    const GameFolder folder = FindGameFolder(working, RunningProgramFolder(), KORVELIN_INSTALLED_DATA);
    if (folder.kind == GameFolder::Kind::Program || folder.kind == GameFolder::Kind::Installed)
        fs::current_path(folder.path, ec);
    app.config.readOnlyGameFolder = folder.kind == GameFolder::Kind::Installed;
}

// Files named on the command line are where the caller means, wherever the game moves to.
std::string Absolute(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.string();
}

// The window's recording of the whole session when none was asked for; removed at the end.
std::string gSessionRecording;

// A seed for a recorded run when none is given: drawn from the system, and written into the
// recording so the run can be played again.
uint64_t DrawSeed() {
    std::random_device source;
    return (uint64_t(source()) << 32) | source();
}

// Files of a window run, read and created before anything starts: the run to replay, the
// recording and the trace. False with the reason in *error.
bool OpenWindowRunFiles(const LaunchOptions& options, Application& app, GameOptions& game, std::string* error) {
    if (!options.replayFile.empty()) {
        InputScript script;
        if (!LoadInputScript(options.replayFile, options.replayFile, &script, error)) return false;
        if (!game.seed) game.seed = script.seed;
        app.replay = std::make_unique<ScriptPlayer>(std::move(script));
    }
    // Every run of the player's is recorded, so a run that enters the best list can be
    // watched again: into the file asked for, else into a session file in the state folder
    // (beside the scores when there is none), which a full or read-only data folder leaves be.
    std::string recordFile = options.recordFile;
    if (recordFile.empty() && options.replayFile.empty() && !game.scoresFile.empty()) {
        const std::string state = platform::UserStateFolder();
        const std::filesystem::path folder =
            state.empty() ? std::filesystem::path(game.scoresFile).parent_path() : std::filesystem::path(state);
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        gSessionRecording = (folder / ("session-" + std::to_string(getpid()) + ".txt")).string();
        recordFile = gSessionRecording;
    }
    if (!recordFile.empty()) {
        if (!game.seed) game.seed = DrawSeed();
        app.recorder = std::make_unique<InputRecorder>();
        if (!app.recorder->Open(recordFile, *game.seed, error)) {
            if (recordFile == options.recordFile) return false;
            // Without a recording the game still plays, and keeps its best runs without one.
            std::fprintf(stderr, "korvelin: %s\n", error->c_str());
            app.recorder.reset();
            gSessionRecording.clear();
        }
    }
    if (app.recorder)
        game.keepRecording = [&app](const std::string& to, SaveError* error) {
            if (app.recorder->CopyTo(to, app.frameCount + 1, error)) return true;
            std::fprintf(stderr, "korvelin: %s\n", error->message.c_str());
            return false;
        };
    if (!options.traceFile.empty()) {
        app.trace = std::make_unique<RunTrace>();
        if (!app.trace->Open(options.traceFile, error)) return false;
    }
    return true;
}

// The player's language, from the environment as the game was given it. The catalogues lie in
// locale/ beside the program's folder in the build (build/locale beside build/game), or in the
// installed share/locale beside share/korvelin.
// The language of the environment, or of the settings' [display] language when it names one.
void StartLanguage(std::string_view setting) {
    const Language language = LanguageFromEnvironment(setting);
    const std::filesystem::path program = RunningProgramFolder();
    const std::filesystem::path catalogues =
        program.empty() ? std::filesystem::path{}
                        : FindCatalogues({program / "../locale", program / KORVELIN_INSTALLED_DATA / "../locale"});
    std::string why;
    if (!SpeakLanguage(language, catalogues, &why))
        std::fprintf(stderr, "korvelin: the game's words stay English: %s\n", why.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    // Before the dialogs' UTF-8 preference, which may set LC_ALL.
    StartLanguage("auto");
    PreferUtf8ForDialogs();
    LaunchOptions options;
    std::string error;
    if (!ParseLaunchOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, Tr("korvelin: %s (try --help)\n"), error.c_str());
        return HeadlessRun::kBadArguments;
    }
    if (options.help) {
        std::fputs(LaunchUsage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::puts("korvelin " KORVELIN_VERSION);
        return 0;
    }
    Application& app = Application::Instance();
    // Registered after the singletons are made, so it runs before their destructors.
    std::atexit(EndAtOnceUnlessOrderly);
#if !defined(__SANITIZE_ADDRESS__)
    // The sanitizers report a crash their own way.
    platform::InstallCrashReports(platform::UserStateFolder(), KORVELIN_VERSION);
#endif
    GameOptions& game = CurrentGameOptions();
    // A seed on the command line wins over the one a recorded script carries.
    game.seed = options.seed;
    game.autopilot = options.autopilot;
    // The player's best runs: headless only when asked for, never from a replay.
    if (options.headless)
        game.scoresFile = options.scoresFile;
    else if (options.replayFile.empty() && !platform::UserDataFolder().empty())
        game.scoresFile = platform::UserDataFolder() + "/scores.json";
    HeadlessRun headless;
    if (options.headless) {
        if (!headless.Prepare(options, &error)) {
            std::fprintf(stderr, "korvelin: %s\n", error.c_str());
            return HeadlessRun::kBadArguments;
        }
        if (!game.seed) game.seed = headless.ScriptSeed();
    } else if (!OpenWindowRunFiles(options, app, game, &error)) {
        std::fprintf(stderr, "korvelin: %s\n", error.c_str());
        return HeadlessRun::kBadArguments;
    }
    if (!options.courseFile.empty()) game.courseFile = Absolute(options.courseFile);
    // The player's own file in the window; a headless run plays the defaults unless told.
    const std::string settingsPath = !options.settingsFile.empty() ? Absolute(options.settingsFile)
                                     : options.headless           ? std::string()
                                                                  : DefaultSettingsPath();
    if (!settingsPath.empty()) {
        app.settings.Load(settingsPath);
        // The settings' language wins over the environment's.
        if (app.settings.Chosen().language != "auto") StartLanguage(app.settings.Chosen().language);
    }
    app.settings.Override(options.overrides);
    EnterGameFolder(app);
    if (!options.headless) {
        // A crash of an earlier run is named once: here, and on the first title.
        if (const std::string report = platform::TakeNewCrashReport(platform::UserStateFolder()); !report.empty()) {
            std::fprintf(stderr, Tr("korvelin: the game ended in a crash last time; its report is %s\n"), report.c_str());
            game.crashReport = report;
        }
        // Said once, in one box, before a window that could show nothing opens.
        std::error_code ec;
        const std::string missing = MissingGameFiles(std::filesystem::current_path(ec), options.courseFile.empty());
        if (!missing.empty()) {
            std::fprintf(stderr, Tr("korvelin: cannot start: %s\n"), missing.c_str());
            ShowMessage(nullptr, Tr("The game cannot start: ") + missing, "-KORVELIN-", DialogIcon::Error);
            return HeadlessRun::kFailed;
        }
    }

    app.config.developerOverlay = options.dev;
    app.config.sceneFactory = CreateGameScene;
    if (options.headless) {
        gRunning = true;
        const int status = headless.Run();
        gRunning = false;
        return status;
    }
    // The desktop matches the window to the game's desktop entry and icon by this name.
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", KORVELIN_APP_ID, 0);
    setenv("SDL_VIDEO_X11_WMCLASS", KORVELIN_APP_ID, 0);
    if (!app.Init(1280, 720, &error)) {
        std::fprintf(stderr, Tr("korvelin: cannot start: %s\n"), error.c_str());
        app.Shutdown();
        return 1;
    }
    gRunning = true;
    const int status = app.Run();
    gRunning = false;
    app.Shutdown();
    if (!gSessionRecording.empty()) std::remove(gSessionRecording.c_str());
    return status;
}
