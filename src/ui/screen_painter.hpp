// Painting the screens the game shows over its frozen picture while no frame runs (the question
// box, the pause, the options): the picture the player last saw held still behind a dimming
// veil, flat boxes and text in the question box's face, presented in one go.
#pragma once

#include <memory>
#include <string>

#include "platform/render/font.hpp"
#include "platform/render/render_device.hpp"
#include "platform/render/sprite_batch.hpp"

namespace platform {
class Window;
}
class Texture;

// The colours of the game's own boxes: its night blue with its cyan light.
namespace box_colors {
constexpr platform::Color kEdge = 0xFF46D2E6;
constexpr platform::Color kFace = 0xF0141C2C;
constexpr platform::Color kCaption = 0xFF233A5A;
constexpr platform::Color kButton = 0xFF34405A;
constexpr platform::Color kFocused = 0xFF1E8CB4;
constexpr platform::Color kText = 0xFFFFFFFF;
}  // namespace box_colors

class ScreenPainter {
public:
    static constexpr int kCellHeight = 24;  // the face: twice the HUD's, read from across the room

    ScreenPainter() = default;
    ~ScreenPainter();
    ScreenPainter(const ScreenPainter&) = delete;
    ScreenPainter& operator=(const ScreenPainter&) = delete;

    // The face and the white texel, made once.
    void Prepare();
    // The back buffer's picture is kept to stand behind what is painted until Thaw; while one is
    // kept, Freeze keeps it.
    void Freeze();
    void Thaw();
    bool frozen() const { return frozen_ != 0; }
    // Begins a picture: the frozen one (or black) under a veil of `dim`. False when the device
    // cannot draw now; then nothing else is to be called until the next Begin.
    bool Begin(platform::Color dim);
    // Presents the picture on the window.
    void End(platform::Window& window);

    void Fill(const platform::RectI& r, platform::Color color);
    void Text(const std::string& text, int x, int y, platform::Color color);
    // A picture at its own size, its middle at (x, y); nothing for none.
    void Picture(const Texture* picture, int x, int y);
    // In the face (made first if need be); half the cell height a byte without one.
    int Measure(const std::string& text);
    // Lets go of the face and the textures; before the device goes.
    void Release();

private:
    std::unique_ptr<platform::Font> font_;
    bool fontTried_ = false;
    platform::TextureId white_ = 0;
    platform::TextureId frozen_ = 0;
};
