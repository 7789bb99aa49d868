// KORVELIN: the entry point. Starts the application, runs it, and shuts down in order.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/application.hpp"
#include "scene/scene_factory.hpp"

namespace {

// The game reads data/ and Shader/ from its working directory. Started from somewhere else (a
// launcher, another folder), it moves to its own folder when those are found there.
void FindGameFolder() {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::exists("Shader", ec) && fs::exists("data", ec)) return;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return;
    const fs::path folder = self.parent_path();
    if (fs::exists(folder / "Shader", ec) && fs::exists(folder / "data", ec)) fs::current_path(folder, ec);
}

}  // namespace

int main(int argc, char** argv) {
    Application& app = Application::Instance();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--dev") == 0) {
            app.developerOverlay = true;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("usage: korvelin [--dev]\n  --dev  show the developer overlay\n");
            return 0;
        } else {
            std::fprintf(stderr, "korvelin: unknown option '%s' (try --help)\n", argv[i]);
            return 2;
        }
    }
    FindGameFolder();
    app.sceneFactory = CreateGameScene;
    std::string error;
    if (!app.Init(1280, 720, &error)) {
        std::fprintf(stderr, "korvelin: cannot start: %s\n", error.c_str());
        app.Shutdown();
        return 1;
    }
    app.Run();
    app.Shutdown();
    return 0;
}
