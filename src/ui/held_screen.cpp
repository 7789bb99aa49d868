// The held screens' loop.
#include "ui/held_screen.hpp"

#include "graphics/graphics_device.hpp"
#include "platform/render/letterbox.hpp"
#include "platform/window/sdl_input.hpp"
#include "platform/window/window.hpp"
#include "ui/screen.hpp"

using namespace platform;

namespace {

constexpr int kWaitMs = 250;  // the loop sleeps in the system until an event comes

// The pointer shown and free of the mouse look while a screen shows; as it was after.
class FreePointer {
public:
    explicit FreePointer(SdlInput& devices) : devices_(devices), was_(devices.cursorShown()) {
        devices.SetCursorShown(true);
    }
    ~FreePointer() { devices_.SetCursorShown(was_); }
    FreePointer(const FreePointer&) = delete;
    FreePointer& operator=(const FreePointer&) = delete;

private:
    SdlInput& devices_;
    bool was_;
};

bool IsPointer(WindowEvent::Type type) {
    using Type = WindowEvent::Type;
    return type == Type::PointerMove || type == Type::PointerPress || type == Type::PointerRelease;
}

}  // namespace

void HeldScreen::Paint(Screen& screen) {
    if (!painter_.Begin(screen.Veil())) return;
    screen.Draw(painter_);
    painter_.End(window_);
}

HeldScreen::End HeldScreen::Run(Screen& screen) {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    const int w = gd.presentParams.backBufferWidth, h = gd.presentParams.backBufferHeight;
    painter_.Prepare();
    // A report made while the game starts comes before the window is shown.
    window_.Show();
    FreePointer pointer(window_.devices());
    End end = End::Done;
    bool dirty = true;
    while (!screen.Done()) {
        if (dirty) Paint(screen);
        WindowEvent e;
        if (!window_.PollEvent(&e, kWaitMs)) {
            dirty = false;
            continue;
        }
        using Type = WindowEvent::Type;
        if (e.type == Type::Close) {
            screen.WindowClosed();
            end = End::WindowClosed;
            break;
        }
        if (e.type == Type::ToggleFullscreen) gd.SetFullScreen(!window_.IsFullscreen());
        if (IsPointer(e.type)) {
            // From window pixels to picture pixels, however the picture is letterboxed.
            int cw = w, ch = h;
            window_.GetClientSize(&cw, &ch);
            Letterbox::Fit(cw, ch, w, h).ToPicture(e.pointer.x, e.pointer.y, w, h, &e.pointer.x, &e.pointer.y);
        }
        const bool changed = screen.Handle(e);
        dirty = changed || e.type == Type::Size || e.type == Type::Exposed || e.type == Type::ToggleFullscreen;
    }
    window_.ForgetKeysPressedDuringDialog();
    return end;
}
