// KORVELIN: the entry point. Starts the application, runs it, and shuts down in order.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/application.hpp"
#include "scene/scene_factory.hpp"

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
