// Sampling the keyboard, the mouse and the gamepads into script events.
#include "platform/window/sdl_input.hpp"

#include <SDL.h>

#include <algorithm>

#include "platform/input/script_player.hpp"

namespace platform {

namespace {

SDL_Scancode ScancodeOf(Key key) {
    switch (key) {
        case Key::A: return SDL_SCANCODE_A;
        case Key::D: return SDL_SCANCODE_D;
        case Key::E: return SDL_SCANCODE_E;
        case Key::F: return SDL_SCANCODE_F;
        case Key::Q: return SDL_SCANCODE_Q;
        case Key::R: return SDL_SCANCODE_R;
        case Key::S: return SDL_SCANCODE_S;
        case Key::W: return SDL_SCANCODE_W;
        case Key::Z: return SDL_SCANCODE_Z;
        case Key::Escape: return SDL_SCANCODE_ESCAPE;
        case Key::Space: return SDL_SCANCODE_SPACE;
        case Key::Return: return SDL_SCANCODE_RETURN;
        default: return SDL_SCANCODE_UNKNOWN;
    }
}

int KeyOfScancode(SDL_Scancode sc) {
    if (sc == SDL_SCANCODE_UNKNOWN) return -1;
    for (int k = 0; k < static_cast<int>(Key::Count); ++k)
        if (ScancodeOf(static_cast<Key>(k)) == sc) return k;
    return -1;
}

InputEvent KeyEvent(int64_t frame, Key key, bool down) {
    InputEvent e;
    e.frame = frame;
    e.type = down ? InputEvent::Type::Down : InputEvent::Type::Up;
    e.key = key;
    return e;
}

}  // namespace

void SdlInput::Recount() {
    for (size_t i = 0; i < kKeys; ++i) {
        const bool now = held_[i] || gamepads_.Holds(static_cast<Key>(i));
        if (now && !down_[i]) ++presses_[i];
        if (!now) answered_[i] = false;
        down_[i] = now;
    }
}

void SdlInput::HandleEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            if (e.key.repeat) break;
            if (e.type == SDL_KEYDOWN) gamepadInUse_ = false;
            const int k = KeyOfScancode(e.key.keysym.scancode);
            if (k >= 0) held_[k] = e.type == SDL_KEYDOWN;
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_RIGHT) break;
            if (e.type == SDL_MOUSEBUTTONDOWN) gamepadInUse_ = false;
            held_[static_cast<size_t>(e.button.button == SDL_BUTTON_LEFT ? Key::LeftButton : Key::RightButton)] =
                e.type == SDL_MOUSEBUTTONDOWN;
            break;
        case SDL_MOUSEMOTION:
            if (looking_) {
                motion_.x += e.motion.xrel;
                motion_.y += e.motion.yrel;
            }
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) focused_ = true;
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                // Whatever was held is let go where this window no longer hears its release.
                focused_ = false;
                held_.fill(false);
            }
            UpdateLooking();
            break;
        default:
            if (gamepads_.HandleEvent(e) == Gamepads::Seen::PadUsed) gamepadInUse_ = true;
            break;
    }
    Recount();
}

void SdlInput::Sample(int64_t frame, const ScriptedInput& game, std::vector<InputEvent>* out) {
    for (size_t i = 0; i < kKeys; ++i) {
        const Key key = static_cast<Key>(i);
        const int presses = presses_[i];
        presses_[i] = 0;
        if (!ScriptKeyName(key)) continue;  // not a key the game reads
        const bool was = game.Held(key);
        const bool now = down_[i] && !(answered_[i] && !was);
        if (was && (!now || presses > 0)) out->push_back(KeyEvent(frame, key, false));
        if (presses > 0 || (now && !was)) out->push_back(KeyEvent(frame, key, true));
        // Pressed and let go again between two samples: a tap.
        if (!now && presses > 0) out->push_back(KeyEvent(frame, key, false));
    }
    if (!looking_) {
        motion_ = {};
        return;
    }
    const Point start = game.cursor();
    Point cursor = start;
    // The right stick holds the cursor at its offset from the middle, where the mouse look turns
    // by it; let go, the cursor goes back to the middle at once instead of drifting the view on.
    const Point look = gamepads_.Look();
    const Point middle{width_ / 2, height_ / 2};
    if (look.x != 0 || stickX_) cursor.x = middle.x + look.x;
    if (look.y != 0 || stickY_) cursor.y = middle.y + look.y;
    stickX_ = look.x != 0;
    stickY_ = look.y != 0;
    cursor.x += motion_.x;
    cursor.y += motion_.y;
    motion_ = {};
    if (cursor == start) return;
    cursor.x = std::clamp(cursor.x, 0, std::max(0, width_ - 1));
    cursor.y = std::clamp(cursor.y, 0, std::max(0, height_ - 1));
    if (cursor == start) return;
    InputEvent e;
    e.frame = frame;
    e.type = InputEvent::Type::Cursor;
    e.cursor = cursor;
    out->push_back(e);
}

void SdlInput::ForgetPresses() {
    presses_.fill(0);
    answered_ = down_;
}

void SdlInput::Feed(int64_t frame, ScriptedInput& game, InputRecorder* recorder) {
    std::vector<InputEvent> events;
    Sample(frame, game, &events);
    for (const InputEvent& e : events) {
        ApplyInputEvent(e, game);
        if (recorder) recorder->Write(e);
    }
    if (recorder && !events.empty()) recorder->Flush();
}

void SdlInput::SetCursorShown(bool shown) {
    cursorShown_ = shown;
    SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
    UpdateLooking();
}

void SdlInput::UpdateLooking() {
    const bool want = !cursorShown_ && focused_;
    if (want == looking_) return;
    looking_ = want;
    motion_ = {};
    stickX_ = stickY_ = false;
    // Relative mode is what keeps the real pointer from leaving the window; where the system
    // refuses it, plain motion still moves the virtual cursor.
    SDL_SetRelativeMouseMode(want ? SDL_TRUE : SDL_FALSE);
}

}  // namespace platform
