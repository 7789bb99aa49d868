// The process-wide owner of the render device, the shared sprite batch and the shared font. It
// creates the device with a chain of fall-backs, puts it into the game's default state and
// offers the few 2D operations the game uses: a line of text, a screen quad and a sprite.
#pragma once

#include <memory>
#include <string>

#include "math/math.hpp"
#include "platform/render/font.hpp"
#include "platform/render/render_device.hpp"
#include "platform/render/sprite_batch.hpp"

namespace platform {
class Window;
}
class Texture;

enum class SurfaceFormat { Unknown, X8R8G8B8, A8R8G8B8 };

// What the device was created with. After creation the back-buffer size is the real one, which
// every other part of the game takes as the screen size.
struct PresentParams {
    int backBufferWidth = 0;
    int backBufferHeight = 0;
    SurfaceFormat backBufferFormat = SurfaceFormat::Unknown;
    bool windowed = true;
};

struct FontDesc {
    int height = 0;
    std::string faceName;
    std::string fileName;  // the face file actually opened
};

class GraphicsDevice {
public:
    static GraphicsDevice& Instance();

    // Creates the OpenGL device on the window (hardware, then software rendering). On failure
    // shows "Direct3Dの初期化に失敗", says why on standard error, and returns false.
    bool Create(platform::Window& window, int width, int height, SurfaceFormat format, bool fullScreen);
    // A device without a window that keeps state and records draws (headless tests, tools).
    bool CreateNull(int width, int height);
    void SetDefaultStates();
    // Between the window and full screen on the desktop's own mode, at any time: the back buffer
    // keeps its size and Present scales it into whatever the window becomes.
    void SetFullScreen(bool fullScreen);
    void SetDirectionalLight(int index, Vec3 direction, ColorValue diffuse, ColorValue ambient, ColorValue specular);
    platform::Light* GetLight(platform::Light* out, int index);
    // Between the sprite batch's Begin and End. Position, scale and rotation come from the
    // transform alone; nothing for a null text.
    void DrawText(const char* text, platform::Color color, const Matrix* transform);
    // Pre-transformed quad with texture coordinates (0,0)-(uMax,vMax); the colour is not used.
    void DrawQuad(float x, float y, float w, float h, float uMax, float vMax, platform::Color color);
    // Between Begin and End: the texture's source rectangle at the transform's origin, faded by
    // the colour's alpha. Nothing for a null or empty texture.
    void DrawSprite(const Texture* texture, platform::Color color, const Matrix* transform);
    // The same for a part of the picture: pixels left ... right, top ... bottom of it.
    void DrawSpritePart(const Texture* texture, int left, int top, int right, int bottom, platform::Color color,
                        const Matrix* transform);
    // A whole number in the glyphs of a digit sheet (ten glyphs of `glyphWidth` side by side),
    // its first digit at the transform's origin.
    void DrawNumber(const Texture* sheet, int64_t value, int glyphWidth, platform::Color color, const Matrix& transform);
    void Release();

    std::unique_ptr<platform::RenderDevice> device;
    PresentParams presentParams;
    std::unique_ptr<platform::SpriteBatch> sprite;
    std::unique_ptr<platform::Font> font;
    FontDesc fontDesc;
    // Render target 0 as created: the back buffer.
    platform::TextureId backBufferSurface = platform::kBackBuffer;
    platform::Window* window = nullptr;

private:
    GraphicsDevice() = default;
    void CreateSpriteAndFont();
};
