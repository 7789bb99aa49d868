// Creating the GL device: a hardware context first, then Mesa's software renderer.
#include <SDL.h>

#include <cstdlib>

#include "platform/gl/gl_render_device.hpp"
#include "platform/window/window.hpp"

namespace platform {

namespace {

// A context of at least 3.3 core with clip control, made current; null and a reason otherwise.
SDL_GLContext TryContext(SDL_Window* window, std::string* why) {
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
        *why = std::string("no OpenGL 3.3 core context: ") + SDL_GetError();
        return nullptr;
    }
    if (epoxy_gl_version() < 33) {
        *why = "OpenGL 3.3 is needed, the driver offers " + std::to_string(epoxy_gl_version() / 10) + "." +
               std::to_string(epoxy_gl_version() % 10);
    } else if (epoxy_gl_version() < 45 && !epoxy_has_gl_extension("GL_ARB_clip_control")) {
        *why = "the driver lacks GL_ARB_clip_control";
    } else {
        return context;
    }
    SDL_GL_DeleteContext(context);
    return nullptr;
}

}  // namespace

std::unique_ptr<RenderDevice> CreateGlRenderDevice(Window& window, int width, int height, std::string* error) {
    auto* sdlWindow = static_cast<SDL_Window*>(window.NativeHandle());
    std::string hardwareWhy, softwareWhy;
    SDL_GLContext context = TryContext(sdlWindow, &hardwareWhy);
    if (!context && !getenv("LIBGL_ALWAYS_SOFTWARE")) {
        // Mesa's software renderer picks this up for contexts made from now on.
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
        context = TryContext(sdlWindow, &softwareWhy);
    }
    if (!context) {
        *error = hardwareWhy + (softwareWhy.empty() ? "" : "; software renderer: " + softwareWhy);
        return nullptr;
    }
    SDL_GL_SetSwapInterval(0);  // the game paces itself
    auto device = std::make_unique<GlRenderDevice>(window, context, width, height);
    if (!device->Init(error)) return nullptr;
    return device;
}

}  // namespace platform
