// The game's one window on SDL: created hidden, shown after the device exists; its events are
// pumped one at a time so the frame loop can test its stop flags between every two. Alt+Enter
// and F11 ask to switch between the window and full screen; keys, pointer and gamepad buttons
// also come out as the moves a question box or a menu answers to, O and the gamepad's Y ask for
// the options, and each press says what was pressed and whether it pauses.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/input/input.hpp"

struct SDL_Window;

namespace platform {

struct WindowEvent {
    enum class Type { Close, Wheel, Size, Exposed, ToggleFullscreen, Navigate, PointerMove, PointerPress,
                      PointerRelease, FocusLost, Options, Other };
    // What a question box or a menu does with a key or a gamepad button: the arrows and the
    // d-pad, Tab and Shift+Tab, press the focused button (Return, Space, south, Start), answer
    // No or leave (Escape, the pad's east and Back buttons, N) or Yes (Y).
    enum class Move { Up, Down, Left, Right, Previous, Next, Accept, Cancel, Yes };
    Type type = Type::Other;
    int wheelDelta = 0;            // Wheel: multiples of 120, positive away from the user
    int width = 0, height = 0;     // Size: the new client size
    Move move = Move::Accept;      // Navigate
    Point pointer;                 // Pointer*: client pixels of the window
    // Whatever the type: the name of the key, mouse button or gamepad input this event pressed
    // (empty when it pressed none), whether that is on the gamepad, and whether it is bound to
    // pause.
    std::string pressed;
    bool pressedOnPad = false;
    bool pause = false;
};

class SdlInput;
class WindowInput;

class Window {
public:
    // Opens a hidden window with the given client size. Returns null with a reason when there
    // is no display or SDL cannot start.
    static std::unique_ptr<Window> Create(const std::string& caption, int clientWidth, int clientHeight,
                                          std::string* error);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    void Show();
    // Switches to full screen on the desktop's own mode (the back buffer is scaled up).
    void SetFullscreen(bool fullscreen);
    bool IsFullscreen() const;
    // The client area in points: what the mouse and the UI measure in.
    void GetClientSize(int* width, int* height) const;
    // The client area in pixels of the drawable: larger than the size in points on a scaled
    // display (a laptop at 200 %, a Wayland output with a scale); what Present fills.
    void GetDrawableSize(int* width, int* height) const;
    // Takes the next waiting event; false when none came. With waitMs, waits that long for one.
    bool PollEvent(WindowEvent* event, int waitMs = 0);
    // Every raw SDL event is offered to this hook first (the UI binding).
    void SetRawEventHook(std::function<void(const void* sdlEvent)> hook) { rawHook_ = std::move(hook); }

    // What the game reads: fed once a frame from the devices or from a replay; showing and
    // hiding its cursor reaches the real mouse.
    ScriptedInput& input();
    // The keyboard, mouse and gamepads.
    SdlInput& devices();
    void ForgetKeysPressedDuringDialog();
    // Drops a quit request still waiting: closing the only window sends a close and then a quit,
    // one request that is to be asked about once.
    void ForgetWaitingQuit();
    void* NativeHandle() const { return window_; }  // SDL_Window*

private:
    Window() = default;
    SDL_Window* window_ = nullptr;
    std::unique_ptr<SdlInput> devices_;
    std::unique_ptr<WindowInput> input_;
    std::function<void(const void*)> rawHook_;
};

}  // namespace platform
