// Sampling the keyboard, the mouse and the gamepads into script events.
#include "platform/window/sdl_input.hpp"

#include <SDL.h>

#include <algorithm>

#include "platform/input/script_player.hpp"

namespace platform {

namespace {

using Kind = DeviceInput::Kind;
static_assert(SDL_NUM_SCANCODES == 512);

DeviceInput KeyAt(SDL_Scancode sc) { return {Kind::Key, sc, 0}; }

// The keys that are not the player's to bind: the developer overlay's flight keys and the right
// mouse button, where they have always been.
void BindFixedKeys(std::array<std::vector<DeviceInput>, static_cast<size_t>(Key::Count)>& bound) {
    const struct {
        Key key;
        DeviceInput input;
    } fixed[] = {{Key::E, KeyAt(SDL_SCANCODE_E)}, {Key::F, KeyAt(SDL_SCANCODE_F)}, {Key::Q, KeyAt(SDL_SCANCODE_Q)},
                 {Key::R, KeyAt(SDL_SCANCODE_R)}, {Key::S, KeyAt(SDL_SCANCODE_S)}, {Key::W, KeyAt(SDL_SCANCODE_W)},
                 {Key::Z, KeyAt(SDL_SCANCODE_Z)}, {Key::Return, KeyAt(SDL_SCANCODE_RETURN)},
                 {Key::RightButton, {Kind::MouseButton, SDL_BUTTON_RIGHT, 0}}};
    for (const auto& f : fixed) bound[static_cast<size_t>(f.key)] = {f.input};
}

// The game's key each bound control presses; pause presses none (the window pauses the run).
std::optional<Key> KeyOfControl(Control control) {
    switch (control) {
        case Control::SlideLeft: return Key::A;
        case Control::SlideRight: return Key::D;
        case Control::Fire: return Key::LeftButton;
        case Control::Start: return Key::Space;
        case Control::Back: return Key::Escape;
        default: return std::nullopt;
    }
}

InputEvent KeyEvent(int64_t frame, Key key, bool down) {
    InputEvent e;
    e.frame = frame;
    e.type = down ? InputEvent::Type::Down : InputEvent::Type::Up;
    e.key = key;
    return e;
}

}  // namespace

SdlInput::SdlInput(int pictureWidth, int pictureHeight) : width_(pictureWidth), height_(pictureHeight) {
    SetBindings(Settings::DefaultKeys(), Settings::DefaultButtons());
}

void SdlInput::SetBindings(const Bindings& keys, const Bindings& buttons) {
    for (auto& inputs : bound_) inputs.clear();
    pause_.clear();
    BindFixedKeys(bound_);
    for (size_t c = 0; c < kControlCount; ++c) {
        const std::optional<Key> key = KeyOfControl(static_cast<Control>(c));
        std::vector<DeviceInput>& inputs = key ? bound_[static_cast<size_t>(*key)] : pause_;
        for (const std::string& name : keys[c])
            if (const std::optional<DeviceInput> input = KeyboardInputNamed(name)) inputs.push_back(*input);
        for (const std::string& name : buttons[c])
            if (const std::optional<DeviceInput> input = PadInputNamed(name)) inputs.push_back(*input);
    }
    Recount();
}

bool SdlInput::Down(const DeviceInput& input) const {
    switch (input.kind) {
        case Kind::Key: return input.code >= 0 && size_t(input.code) < kScancodes && keysDown_[size_t(input.code)];
        case Kind::MouseButton: return input.code > 0 && input.code < 32 && ((mouseDown_ >> input.code) & 1u);
        case Kind::PadButton:
        case Kind::PadAxis: return gamepads_.Holds(input);
    }
    return false;
}

bool SdlInput::lastPressPauses() const {
    return lastPress_ && std::find(pause_.begin(), pause_.end(), *lastPress_) != pause_.end();
}

void SdlInput::Recount() {
    for (size_t i = 0; i < kKeys; ++i) {
        const bool now = std::any_of(bound_[i].begin(), bound_[i].end(), [this](const DeviceInput& in) { return Down(in); });
        if (now && !down_[i]) ++presses_[i];
        if (!now) answered_[i] = false;
        down_[i] = now;
    }
}

void SdlInput::HandleEvent(const SDL_Event& e) {
    lastPress_.reset();
    switch (e.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const int sc = e.key.keysym.scancode;
            if (e.key.repeat || sc < 0 || size_t(sc) >= kScancodes) break;
            const bool down = e.type == SDL_KEYDOWN;
            if (down) {
                gamepadInUse_ = false;
                if (!keysDown_[sc]) lastPress_ = KeyAt(SDL_Scancode(sc));
            }
            keysDown_[sc] = down;
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const int button = e.button.button;
            if (button <= 0 || button >= 32) break;
            const uint32_t bit = 1u << button;
            if (e.type == SDL_MOUSEBUTTONDOWN) {
                gamepadInUse_ = false;
                if (!(mouseDown_ & bit)) lastPress_ = DeviceInput{Kind::MouseButton, button, 0};
                mouseDown_ |= bit;
            } else {
                mouseDown_ &= ~bit;
            }
            break;
        }
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
                keysDown_.reset();
                mouseDown_ = 0;
            }
            UpdateLooking();
            break;
        default:
            if (gamepads_.HandleEvent(e, &lastPress_) == Gamepads::Seen::PadUsed) gamepadInUse_ = true;
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
        const bool now = down_[i] && !answered_[i];
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
    const Point look = gamepads_.Look(stickScale_);
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
    // A key held through the whole question stays the game's; one pressed while the box was open
    // and still down is the one that answered, even when the game held it from before the box.
    // One that answered an earlier screen and is still down stays answered: screens follow one
    // another (the pause, then the options).
    for (size_t i = 0; i < kKeys; ++i) answered_[i] = down_[i] && (presses_[i] > 0 || answered_[i]);
    presses_.fill(0);
}

void SdlInput::Feed(int64_t frame, ScriptedInput& game, InputRecorder* recorder, std::vector<InputEvent>* fed) {
    std::vector<InputEvent> events;
    Sample(frame, game, &events);
    for (const InputEvent& e : events) {
        ApplyInputEvent(e, game);
        if (recorder) recorder->Write(e);
    }
    if (recorder && !events.empty()) recorder->Flush();
    if (fed) *fed = std::move(events);
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
